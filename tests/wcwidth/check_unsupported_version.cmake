# Configures the project with a Unicode version that has no table and
# requires the configure step to fail with a message listing the supported
# versions.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DSUPPORTED="10.0.0, 16.0.0" -P check_unsupported_version.cmake
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -DKARVO_UNICODE_VERSION=17.0.0
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${WORK_DIR})
if(rc EQUAL 0)
  message(FATAL_ERROR "the configure step accepted KARVO_UNICODE_VERSION=17.0.0:\n${out}")
endif()
string(REPLACE "\n" " " err_line "${err}")
string(REGEX REPLACE " +" " " err_line "${err_line}")
string(FIND "${err_line}" "the supported versions are ${SUPPORTED}" at)
if(at EQUAL -1 OR NOT err MATCHES "KARVO_UNICODE_VERSION is \"17.0.0\"")
  message(FATAL_ERROR "the refusal does not name the value and list ${SUPPORTED}:\n${err}")
endif()
