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
    cmp bp,1
    je try_open
    push si
    mov si,wbuf
    mov di,smap
    call streq
    pop si
    jz .set
    push si
    mov si,wbuf
    mov di,sg
    call streq
    pop si
    jz .set
    jmp next_word
.set:
    mov bp,1
    jmp next_word
try_open:
    push si
    mov ax,3D00h
    mov dx,wbuf
    int 21h
    mov dx,msgok
    mov cx,msgok_len
    jnc .ok
    mov dx,msgfail
    mov cx,msgfail_len
.ok:
    jc .skipclose
    mov bx,ax
    push dx
    push cx
    mov ah,3Eh
    int 21h
    pop cx
    pop dx
.skipclose:
    mov bx,[handle]
    mov ah,40h
    int 21h
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
sg db '/g',0
msgok db 13,10,'OPEN OK'
msgok_len equ $-msgok
msgfail db 13,10,'OPEN FAIL'
msgfail_len equ $-msgfail
handle dw 0
wbuf times 128 db 0
