# Regenerates the width table into the build tree and fails on any byte of
# difference from the committed file.
execute_process(
  COMMAND ${PYTHON} ${GENERATOR} ${UCD_DIR} ${OUTPUT}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "generator failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} differs from the committed ${COMMITTED}; "
                      "build the wcwidth_regenerate_table target if the change is intended")
endif()
