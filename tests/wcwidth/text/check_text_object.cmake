# Checks that the text library is one object whose only undefined symbols are
# the width lookup and the width table's page pointers, whose globals are the three text functions, and which has
# no static constructors.
#   cmake -DARCHIVE=... -DAR=... -DNM=... -DOBJDUMP=... -P check_text_object.cmake

function(run out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Symbol names from `nm -P` output lines ("name type value size").
function(symbol_names out text)
  string(REPLACE "\n" ";" lines "${text}")
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ :]+) [A-Za-z]( |$)")
      list(APPEND names "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(SORT names)
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

run(members ${AR} t ${ARCHIVE})
string(STRIP "${members}" members)
string(REPLACE "\n" ";" members "${members}")
list(LENGTH members member_count)
if(NOT member_count EQUAL 1)
  message(FATAL_ERROR "expected one object in ${ARCHIVE}, found: ${members}")
endif()

run(undefined ${NM} -P -u ${ARCHIVE})
symbol_names(undefined_names "${undefined}")
list(REMOVE_ITEM undefined_names _GLOBAL_OFFSET_TABLE_)
if(NOT undefined_names STREQUAL "KVwchar_wcwidth;_pKVwc_Width_Table")
  message(FATAL_ERROR "undefined symbols in ${ARCHIVE}: '${undefined_names}', "
                      "expected KVwchar_wcwidth and _pKVwc_Width_Table")
endif()

run(exported ${NM} -P -g --defined-only ${ARCHIVE})
symbol_names(exported_names "${exported}")
set(expected KVwchar_utf8_cluster KVwchar_utf8_cluster_width KVwchar_utf8_fit)
if(NOT exported_names STREQUAL expected)
  message(FATAL_ERROR "globals are '${exported_names}', expected '${expected}'")
endif()

run(sections ${OBJDUMP} -h ${ARCHIVE})
if(sections MATCHES "\\.(init_array|ctors)")
  message(FATAL_ERROR "${ARCHIVE} has static constructors:\n${sections}")
endif()
