# Builds the demo target and checks what it shows: both runs of the example
# program, and not one warning, neither chkprotogen's nor a compiler's (the
# fragment is removed first, so that chkprotogen runs again).
#   cmake -DBINARY_DIR=<build tree> -P check_demo.cmake
file(REMOVE "${BINARY_DIR}/examples/consumer/consumer_prototypes/prototype_checks.h")
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target demo
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status) # merged, in order
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the demo failed (status ${status}):\n${log}")
endif()
foreach(expected "columns with ambiguous characters wide: 60" "reserved word: return (token 4)"
                 "with chkprotogen")
  string(FIND "${log}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the demo did not show \"${expected}\":\n${log}")
  endif()
endforeach()
string(TOLOWER "${log}" lower_log)
string(FIND "${lower_log}" "warning" warning)
if(NOT warning EQUAL -1)
  message(FATAL_ERROR "the demo printed a warning:\n${log}")
endif()
