# Installs the build into a scratch prefix and checks that what a user gets
# names the Unicode version of the table: the KVWC_UNICODE_VERSION_* macros
# of the installed header, the unicode_version variable of wcwidthtab.pc and
# KarvoBuildTools_UNICODE_VERSION of the CMake package; then builds a C
# program against the package and checks that it answers with that version's
# table (U+1F970, assigned in Unicode 11.0, is wide only from then on).
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=16.0.0 -DC_COMPILER=...
#         -DC_FLAGS=... -DLINKER_FLAGS=... -P check_installed_version.cmake

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

string(REPLACE "." ";" parts ${VERSION})
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 update)
file(READ ${prefix}/include/wcwidthtab.h header)
foreach(part MAJOR MINOR UPDATE)
  string(TOLOWER ${part} name)
  if(NOT header MATCHES "#define KVWC_UNICODE_VERSION_${part} ${${name}}\n")
    message(FATAL_ERROR "the installed wcwidthtab.h does not define "
                        "KVWC_UNICODE_VERSION_${part} as ${${name}}")
  endif()
endforeach()

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  run("pkg-config" ${PKG_CONFIG} --variable=unicode_version wcwidthtab)
  string(STRIP "${output}" pc_version)
  if(NOT pc_version STREQUAL VERSION)
    message(FATAL_ERROR "pkg-config says unicode_version=${pc_version}, expected ${VERSION}")
  endif()
else()
  message(STATUS "pkg-config not found: its unicode_version variable is not checked")
endif()

if(VERSION VERSION_LESS 11.0)
  set(emoji_columns 1)
else()
  set(emoji_columns 2)
endif()
file(WRITE ${WORK_DIR}/user/CMakeLists.txt [[
cmake_minimum_required(VERSION 3.25)
project(version_user LANGUAGES C)
find_package(KarvoBuildTools REQUIRED COMPONENTS wcwidthtab)
message(STATUS "table version: ${KarvoBuildTools_UNICODE_VERSION}")
add_executable(version_user main.c)
target_link_libraries(version_user PRIVATE Karvo::wcwidthtab)
]])
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
run("configuring a user of the package" ${CMAKE_COMMAND} -S ${WORK_DIR}/user
  -B ${WORK_DIR}/user-build -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER}
  -DCMAKE_C_FLAGS=${C_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS})
if(NOT output MATCHES "table version: ${VERSION}\n")
  message(FATAL_ERROR "KarvoBuildTools_UNICODE_VERSION is not ${VERSION}:\n${output}")
endif()
run("building a user of the package" ${CMAKE_COMMAND} --build ${WORK_DIR}/user-build)
run("running a user of the package" ${WORK_DIR}/user-build/version_user)
if(NOT output STREQUAL "${VERSION} ${emoji_columns} ${emoji_columns}\n")
  message(FATAL_ERROR "the user program printed '${output}', expected "
                      "'${VERSION} ${emoji_columns} ${emoji_columns}'")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
