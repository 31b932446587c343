# The layer check catches an include that runs up a layer however it is
# spelled, and passes one that runs down.
#   cmake -DCHECK=<check_layers.cmake> -DWORK=<empty folder> -P check_layers_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/src/app/main_form.h" "#pragma once\n")
file(WRITE "${WORK}/src/text/text.h" "#pragma once\n")
file(WRITE "${WORK}/src/base/good.h" "#include \"text/text.h\"\n#include <string>\n")
foreach(spelling "#include <app/main_form.h>" "#  include \"app/main_form.h\""
                 "#include \"../app/main_form.h\"" "#include INCLUDED")
  file(WRITE "${WORK}/src/base/bad.h" "${spelling}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${WORK}/src -P ${CHECK}
                  RESULT_VARIABLE failed ERROR_VARIABLE said)
  if(NOT failed OR NOT said MATCHES "base/bad.h")
    message(FATAL_ERROR "not caught: ${spelling}\n${said}")
  endif()
endforeach()
file(REMOVE "${WORK}/src/base/bad.h")
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${WORK}/src -P ${CHECK}
                RESULT_VARIABLE failed ERROR_VARIABLE said)
if(failed)
  message(FATAL_ERROR "an include that runs down was refused:\n${said}")
endif()
