# Regenerates the width table into the build tree and fails on any byte of
# difference from the committed file. TARGET names the build target that
# rewrites the committed file (the width tables' by default).
if(NOT DEFINED TARGET)
  set(TARGET wcwidth_regenerate_table)
endif()
execute_process(
  COMMAND ${PYTHON} ${GENERATOR} ${UCD_DIR} ${OUTPUT}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "generator failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} differs from the committed ${COMMITTED}; "
                      "build the ${TARGET} target if the change is intended")
endif()
