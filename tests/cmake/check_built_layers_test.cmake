# The check of what the compiler and the linker saw catches what no reading
# of include lines can: a header read through a dodge the compiler still
# follows, a header outside src/, and a call declared by hand.
#   cmake -DCHECK=<check_built_layers.py> -DSRC=<src> -DCXX=<compiler> -DAPP=<libkestrum_app.a>
#         -DWORK=<empty folder> -P check_built_layers_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(checkout "${SRC}" DIRECTORY)
file(WRITE "${WORK}/deps.txt"
  "CMakeFiles/kestrum_text.dir/src/text/a.cpp.o: #deps 2, deps mtime 1 (VALID)\n"
  "    ${SRC}/text/text.h\n"
  "    ${SRC}/app/main_form.h\n"
  "CMakeFiles/kestrum_os.dir/src/os/b.cpp.o: #deps 1, deps mtime 1 (VALID)\n"
  "    ${checkout}/tests/support/test_support.h\n"
  "CMakeFiles/kestrum_app.dir/src/app/c.cpp.o: #deps 1, deps mtime 1 (VALID)\n"
  "    ${SRC}/text/text.h\n")
file(WRITE "${WORK}/up.cpp"
  "class MainFormPort;\nnamespace mainform { MainFormPort* Window(); }\n"
  "void* Up() { return mainform::Window(); }\n")
execute_process(COMMAND ${CXX} -c "${WORK}/up.cpp" -o "${WORK}/up.o" RESULT_VARIABLE failed)
execute_process(COMMAND ar rc "${WORK}/libkestrum_text.a" "${WORK}/up.o")
file(COPY "${APP}" DESTINATION "${WORK}")
execute_process(COMMAND python3 ${CHECK} --build ${WORK} --source ${SRC} --deps ${WORK}/deps.txt
                RESULT_VARIABLE failed OUTPUT_VARIABLE said)
foreach(fault "text/a.cpp.o \\(text\\) reads .*app/main_form.h"
              "os/b.cpp.o \\(os\\) reads .*tests/support/test_support.h, outside src/"
              "libkestrum_text.a calls mainform::Window\\(\\)")
  if(NOT failed OR NOT said MATCHES "${fault}")
    message(FATAL_ERROR "not caught: ${fault}\n${said}")
  endif()
endforeach()
if(said MATCHES "app/c.cpp.o")
  message(FATAL_ERROR "a header that runs down was refused:\n${said}")
endif()
