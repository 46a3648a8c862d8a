# Checks that a user of the width library gets the table of the Unicode
# version that was chosen, by either route:
#   MODE=install  installs the build into a scratch prefix; the installed
#                 header's KVWC_UNICODE_VERSION_* macros, the unicode_version
#                 variable of wcwidthtab.pc and KarvoBuildTools_UNICODE_VERSION
#                 of the CMake package must name VERSION;
#   MODE=subdir   adds SOURCE_DIR with add_subdirectory() after setting
#                 KARVO_UNICODE_VERSION to VERSION.
# Either way a C program built against the library must print VERSION from
# the macros and the width of U+1F970 (assigned in Unicode 11.0, so wide only
# from then on), looked up directly and through wcwidthtab_utf8.h.
#   cmake -DMODE=install|subdir -DVERSION=... -DBUILD_DIR=... | -DSOURCE_DIR=...
#         -DWORK_DIR=... -DC_COMPILER=... -DC_FLAGS=... -DLINKER_FLAGS=...
#         -P check_version_for_users.cmake

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(check_installed_files prefix)
  string(REPLACE "." ";" parts ${VERSION})
  file(READ ${prefix}/include/wcwidthtab.h header)
  foreach(part MAJOR MINOR UPDATE)
    list(POP_FRONT parts number)
    if(NOT header MATCHES "#define KVWC_UNICODE_VERSION_${part} ${number}\n")
      message(FATAL_ERROR "the installed wcwidthtab.h does not define "
                          "KVWC_UNICODE_VERSION_${part} as ${number}")
    endif()
  endforeach()
  find_program(PKG_CONFIG pkg-config)
  if(NOT PKG_CONFIG)
    message(STATUS "pkg-config not found: its unicode_version variable is not checked")
    return()
  endif()
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  run("pkg-config" ${PKG_CONFIG} --variable=unicode_version wcwidthtab)
  string(STRIP "${output}" pc_version)
  if(NOT pc_version STREQUAL VERSION)
    message(FATAL_ERROR "pkg-config says unicode_version=${pc_version}, expected ${VERSION}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(user_args -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_C_FLAGS=${C_FLAGS}
              -DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS})
if(MODE STREQUAL "install")
  run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
  check_installed_files(${WORK_DIR}/prefix)
  set(use_library [[
find_package(KarvoBuildTools REQUIRED COMPONENTS wcwidthtab)
message(STATUS "table version: ${KarvoBuildTools_UNICODE_VERSION}")
]])
  list(APPEND user_args -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix)
elseif(MODE STREQUAL "subdir")
  set(use_library [[
set(KARVO_BUILD_KWHASHGEN OFF CACHE BOOL "")
set(KARVO_BUILD_CHKPROTOGEN OFF CACHE BOOL "")
add_subdirectory(${KARVO_SOURCE_DIR} karvo)
message(STATUS "table version: ${KARVO_UNICODE_VERSION}")
]])
  list(APPEND user_args -DKARVO_SOURCE_DIR=${SOURCE_DIR} -DKARVO_UNICODE_VERSION=${VERSION})
else()
  message(FATAL_ERROR "MODE is install or subdir")
endif()

file(WRITE ${WORK_DIR}/user/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(version_user LANGUAGES C CXX)
${use_library}
add_executable(version_user main.c)
target_link_libraries(version_user PRIVATE Karvo::wcwidthtab)
")
file(WRITE ${WORK_DIR}/user/main.c [[
#include <stdio.h>
#include <wcwidthtab_utf8.h>

int main(void) {
    /* U+1F970 SMILING FACE WITH SMILING EYES AND THREE HEARTS */
    static const char emoji[] = "\xF0\x9F\xA5\xB0";
    printf("%d.%d.%d %d %d\n", KVWC_UNICODE_VERSION_MAJOR, KVWC_UNICODE_VERSION_MINOR,
           KVWC_UNICODE_VERSION_UPDATE, KVwchar_wcwidth(0x1F970),
           (int)KVwchar_utf8_width(emoji, sizeof emoji - 1));
    return 0;
}
]])
run("configuring a user of the library" ${CMAKE_COMMAND} -S ${WORK_DIR}/user
  -B ${WORK_DIR}/user-build ${user_args})
if(NOT output MATCHES "table version: ${VERSION}\n")
  message(FATAL_ERROR "the user's build does not see version ${VERSION}:\n${output}")
endif()
run("building a user of the library" ${CMAKE_COMMAND} --build ${WORK_DIR}/user-build)
run("running a user of the library" ${WORK_DIR}/user-build/version_user)
if(VERSION VERSION_LESS 11.0)
  set(emoji_columns 1)
else()
  set(emoji_columns 2)
endif()
if(NOT output STREQUAL "${VERSION} ${emoji_columns} ${emoji_columns}\n")
  message(FATAL_ERROR "the user program printed '${output}', expected "
                      "'${VERSION} ${emoji_columns} ${emoji_columns}'")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
