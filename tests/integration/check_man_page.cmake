# Fails when groff has anything to say about a man page (all warnings on).
execute_process(COMMAND ${GROFF} -ww -z -man ${PAGE}
  RESULT_VARIABLE status ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff on ${PAGE}:\n${warnings}")
endif()
