# Checks that the width library is one object that links against nothing:
# no undefined symbols, exactly the three exports, each of hidden visibility
# (so that no shared library that links it exports them), no static
# constructors.
#   cmake -DARCHIVE=... -DAR=... -DNM=... -DOBJDUMP=... -DREADELF=... -P check_object.cmake

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
# Position-independent code may name the GOT (32-bit x86 does, even for
# hidden symbols); the linker defines _GLOBAL_OFFSET_TABLE_ itself.
list(REMOVE_ITEM undefined_names _GLOBAL_OFFSET_TABLE_)
if(undefined_names)
  message(FATAL_ERROR "undefined symbols in ${ARCHIVE}: ${undefined_names}")
endif()

run(exported ${NM} -P -g --defined-only ${ARCHIVE})
symbol_names(exported_names "${exported}")
set(expected KVwchar_set_wcwidth_flags KVwchar_wcwidth _pKVwc_Width_Table)
if(NOT exported_names STREQUAL expected)
  message(FATAL_ERROR "exports are '${exported_names}', expected '${expected}'")
endif()

# readelf -sW lines: "num: value size type bind visibility ndx name".
run(symbols ${READELF} -sW ${ARCHIVE})
string(REPLACE "\n" ";" symbol_lines "${symbols}")
foreach(line IN LISTS symbol_lines)
  if(line MATCHES " GLOBAL +([A-Z]+) +[0-9]+ +([^ ]+)$" AND NOT CMAKE_MATCH_1 STREQUAL "HIDDEN")
    message(FATAL_ERROR "${CMAKE_MATCH_2} has ${CMAKE_MATCH_1} visibility, not HIDDEN")
  endif()
endforeach()

run(sections ${OBJDUMP} -h ${ARCHIVE})
if(sections MATCHES "\\.(init_array|ctors)")
  message(FATAL_ERROR "${ARCHIVE} has static constructors:\n${sections}")
endif()

message(STATUS "${ARCHIVE}: one object, no undefined symbols, exports ${exported_names}")
