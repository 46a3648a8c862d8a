# Compiles the header test with one compiler in each dialect the headers
# promise, under that compiler family's strict warnings with -Werror, and
# fails on the first warning. A compiler that is not installed is reported
# as skipped (the test's skip expression matches the message).
#   cmake -DCOMPILER=<path or empty> -DNAME=clang++ -DLANGUAGE=C|CXX -DSOURCE=...
#         -DINCLUDE_DIRS=a;b -DWORK_DIR=... -P check_header_warnings.cmake
if(NOT COMPILER)
  message("SKIPPED: ${NAME} is not installed")
  return()
endif()

set(common -Wall -Wextra -pedantic -Werror -Wconversion -Wsign-conversion -Wcast-qual
  -Wcast-align -Wshadow -Wundef -Wredundant-decls -Wformat=2)
if(LANGUAGE STREQUAL "C")
  set(language c)
  set(dialects c89 c99 c11)
  list(APPEND common -Wstrict-prototypes -Wmissing-prototypes -Wold-style-definition
    -Wdeclaration-after-statement -Wbad-function-cast -Wwrite-strings -Wc++-compat)
else()
  set(language c++)
  set(dialects c++98 c++11 c++20)
  list(APPEND common -Wold-style-cast -Wzero-as-null-pointer-constant -Wmissing-declarations)
endif()
if(NAME MATCHES "clang")
  list(APPEND common -Wcomma -Wshorten-64-to-32 -Wunreachable-code-aggressive)
else()
  list(APPEND common -Wlogical-op -Wduplicated-cond -Wnull-dereference)
  if(LANGUAGE STREQUAL "CXX")
    list(APPEND common -Wuseless-cast)
  endif()
endif()

set(includes "")
foreach(dir IN LISTS INCLUDE_DIRS)
  if(dir)
    list(APPEND includes -I${dir})
  endif()
endforeach()
file(MAKE_DIRECTORY ${WORK_DIR})
# -O1 and -O2: warnings such as -Wmaybe-uninitialized and -Wnull-dereference
# come from the optimiser's passes, and each level sees different things.
foreach(dialect IN LISTS dialects)
  foreach(level -O1 -O2)
    execute_process(
      COMMAND ${COMPILER} -x ${language} -std=${dialect} ${level} ${common} ${includes}
              -c ${SOURCE} -o ${WORK_DIR}/${NAME}_${dialect}.o
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${NAME} -std=${dialect} ${level} warns about the headers:\n${out}${err}")
    endif()
  endforeach()
  message(STATUS "${NAME} -std=${dialect} -O1 and -O2: no warning")
endforeach()
