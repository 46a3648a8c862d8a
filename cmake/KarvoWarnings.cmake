# Warnings are errors in the project's own code. Targets built from
# third-party or generated sources do not call this.
function(karvo_strict_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wcast-qual -Wformat=2 -Wundef)
  # g++ 12 reports impossible overlaps inside std::string concatenation at
  # -O2 (-Wrestrict false positives in libstdc++'s own code).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
  endif()
endfunction()
