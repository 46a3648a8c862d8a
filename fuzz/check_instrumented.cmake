# Fails unless every object in ARCHIVES carries libFuzzer's coverage counters
# (the __sancov_cntrs section that -fsanitize=fuzzer-no-link adds).
#   cmake -DOBJDUMP=<objdump> -DARCHIVES=<a.a;b.a> -P check_instrumented.cmake
foreach(archive IN LISTS ARCHIVES)
  execute_process(COMMAND "${OBJDUMP}" -h "${archive}"
    OUTPUT_VARIABLE headers ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -h ${archive} failed: ${errors}")
  endif()
  # objdump starts each member's listing with "<member>:     file format ...".
  string(REGEX MATCHALL "[^\n]*file format[^\n]*" members "${headers}")
  string(REGEX REPLACE "\n[^\n]*file format[^\n]*" ";MEMBER" split "\n${headers}")
  list(POP_FRONT split)
  list(LENGTH members member_count)
  if(member_count EQUAL 0)
    message(FATAL_ERROR "${archive}: no objects found")
  endif()
  set(index 0)
  foreach(section_list IN LISTS split)
    list(GET members ${index} member)
    string(REGEX REPLACE ":[ \t]+file format.*" "" member "${member}")
    if(NOT section_list MATCHES "__sancov_cntrs")
      message(FATAL_ERROR "${archive}: ${member} has no coverage instrumentation")
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  message(STATUS "${archive}: ${member_count} objects, all instrumented")
endforeach()
