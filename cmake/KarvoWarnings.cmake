# Warnings are errors in the project's own code when it is built on its own
# (KARVO_WERROR); a project that adds it with add_subdirectory() gets the
# warnings but keeps its own flags and compilers from failing our code.
# Targets built from third-party or generated sources do not call this.
function(karvo_strict_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wcast-qual -Wformat=2 -Wundef)
  if(KARVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # g++ 12 reports impossible overlaps inside std::string concatenation at
  # -O2 (-Wrestrict false positives in libstdc++'s own code).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
  endif()
endfunction()
