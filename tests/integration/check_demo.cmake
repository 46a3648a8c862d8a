# Builds the demo target and checks what it shows: the note about the example
# table's deliberate mistakes before chkprotogen's warnings (the fragment is
# removed first, so that it is generated again and the warnings appear), and
# both runs of the example program.
#   cmake -DBINARY_DIR=<build tree> -P check_demo.cmake
file(REMOVE "${BINARY_DIR}/examples/consumer/consumer_prototypes/prototype_checks.h")
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target demo
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status) # merged, in order
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the demo failed (status ${status}):\n${log}")
endif()
foreach(expected "columns with ambiguous characters wide: 60" "reserved word: return (token 4)")
  string(FIND "${log}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the demo did not show \"${expected}\":\n${log}")
  endif()
endforeach()
string(FIND "${log}" "wrong on purpose" note)
string(FIND "${log}" "Warning: line" warning)
if(note EQUAL -1 OR warning EQUAL -1 OR NOT note LESS warning)
  message(FATAL_ERROR "the note about the mistakes must come before chkprotogen's warnings:\n${log}")
endif()
