; Stands in for the game: writes its command tail to ARGS.TXT, then reads
; the tail as the game does and opens the user file it names (the word after
; "-map", or the name attached to "/g"), adding "OPEN OK:" and the file's
; first bytes, or "OPEN FAIL". A "/g" followed by a blank opens nothing, as
; in the game.
org 100h
start:
    mov ah,3Ch
    xor cx,cx
    mov dx,fname
    int 21h
    jc quit
    mov [handle],ax
    mov bx,ax
    mov ah,40h
    xor cx,cx
    mov cl,[80h]
    mov dx,81h
    int 21h
    xor bx,bx
    mov bl,[80h]
    mov byte [81h+bx],0Dh
    mov si,81h
    xor bp,bp
next_word:
.skip:
    lodsb
    cmp al,' '
    je .skip
    cmp al,0Dh
    je close
    dec si
    mov di,wbuf
.copy:
    lodsb
    cmp al,' '
    je .end
    cmp al,0Dh
    je .endcr
    stosb
    jmp .copy
.endcr:
    dec si
.end:
    mov byte [di],0
    mov dx,wbuf
    cmp bp,1
    je try_open
    push si
    mov si,wbuf
    mov di,smap
    call streq
    pop si
    jnz .attached
    mov bp,1
    jmp next_word
.attached:
    cmp byte [wbuf],'/'
    jne next_word
    mov al,[wbuf+1]
    or al,20h
    cmp al,'g'
    jne next_word
    cmp byte [wbuf+2],0
    je next_word
    mov dx,wbuf+2
try_open:
    push si
    mov ax,3D00h
    int 21h
    jc .fail
    mov bx,ax
    mov ah,3Fh
    mov cx,32
    mov dx,fbuf
    int 21h
    jnc .read
    xor ax,ax
.read:
    mov [flen],ax
    mov ah,3Eh
    int 21h
    mov bx,[handle]
    mov ah,40h
    mov dx,msgok
    mov cx,msgok_len
    int 21h
    mov bx,[handle]
    mov ah,40h
    mov dx,fbuf
    mov cx,[flen]
    int 21h
    jmp .done
.fail:
    mov bx,[handle]
    mov ah,40h
    mov dx,msgfail
    mov cx,msgfail_len
    int 21h
.done:
    pop si
    xor bp,bp
    jmp next_word
close:
    mov bx,[handle]
    mov ah,3Eh
    int 21h
quit:
    mov ax,4C00h
    int 21h
streq:
    mov al,[si]
    cmp al,[di]
    jne .ne
    test al,al
    jz .eq
    inc si
    inc di
    jmp streq
.eq: ret
.ne: ret
fname db 'ARGS.TXT',0
smap db '-map',0
msgok db 13,10,'OPEN OK:'
msgok_len equ $-msgok
msgfail db 13,10,'OPEN FAIL'
msgfail_len equ $-msgfail
handle dw 0
flen dw 0
wbuf times 128 db 0
fbuf times 32 db 0
