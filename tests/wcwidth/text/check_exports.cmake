# Checks that a shared library linking the text library exports none of its
# functions: they are compiled with hidden visibility.
#   cmake -DLIBRARY=... -DNM=... -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} -D ${LIBRARY} failed (${rc}): ${err}")
endif()
if(NOT symbols MATCHES "text_consumer_width")
  message(FATAL_ERROR "${LIBRARY} does not export its own function; the check sees nothing:\n${symbols}")
endif()
if(symbols MATCHES "KVwchar_utf8_")
  message(FATAL_ERROR "${LIBRARY} exports the text library's functions:\n${symbols}")
endif()
