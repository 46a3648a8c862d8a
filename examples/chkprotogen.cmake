# How the library's build uses chkprotogen: generate the prototype-check
# fragment from the intrinsic table, then compile it together with the real
# declarations of the intrinsic functions, with incompatible pointer
# assignments made errors, so that a C function whose prototype differs from
# its table line fails the build.

set(CHKPROTOGEN_FATAL_MISMATCH_OPTIONS
  -Werror=incompatible-pointer-types
  $<$<C_COMPILER_ID:Clang>:-Werror=incompatible-function-pointer-types>)

set(_chkprotogen_fragment ${CMAKE_CURRENT_BINARY_DIR}/intrinsics_chk.h)
chkprotogen_generate(${_chkprotogen_fragment} INPUT intrinsics.c)

# The table itself and the checks of its prototypes, as the library would
# compile them; built by the demo only.
add_library(chkprotogen_demo OBJECT EXCLUDE_FROM_ALL
  intrinsics.c intrinsics_check.c ${_chkprotogen_fragment})
target_include_directories(chkprotogen_demo PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR})
target_compile_options(chkprotogen_demo PRIVATE
  -Wall -Wextra -pedantic ${CHKPROTOGEN_FATAL_MISMATCH_OPTIONS})
add_dependencies(demo chkprotogen_demo)
