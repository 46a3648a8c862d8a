# Checks that a linked library (the width library, or the text library over
# it) is one object: no undefined symbols but those of NEEDS (none by
# default), exactly the globals of EXPORTS (the width library's three by
# default), each of hidden visibility (so that no shared library that links
# it exports them), no static constructors.
#   cmake -DARCHIVE=... -DAR=... -DNM=... -DOBJDUMP=... -DREADELF=...
#         [-DNEEDS=a,b] [-DEXPORTS=c,d] -P check_object.cmake
string(REPLACE "," ";" NEEDS "${NEEDS}")
string(REPLACE "," ";" EXPORTS "${EXPORTS}")
if(NOT EXPORTS)
  set(EXPORTS KVwchar_set_wcwidth_flags KVwchar_wcwidth _pKVwc_Width_Table)
endif()

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
list(SORT NEEDS)
if(NOT "${undefined_names}" STREQUAL "${NEEDS}")
  message(FATAL_ERROR "undefined symbols in ${ARCHIVE}: '${undefined_names}', expected '${NEEDS}'")
endif()

run(exported ${NM} -P -g --defined-only ${ARCHIVE})
symbol_names(exported_names "${exported}")
list(SORT EXPORTS)
if(NOT "${exported_names}" STREQUAL "${EXPORTS}")
  message(FATAL_ERROR "exports are '${exported_names}', expected '${EXPORTS}'")
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

message(STATUS "${ARCHIVE}: one object, needs '${undefined_names}', exports ${exported_names}")
