# Runs one of the generators as a filter during a build:
#   cmake -DPROGRAM=<tool> -DINPUT=<file> -DOUTPUT=<file> [-DARGS=<a;b>] -P KarvoRunFilter.cmake
# The output is written to a temporary file beside OUTPUT and renamed into
# place only when the tool succeeds, so a failed run never leaves a partial
# or stale file behind. The tool's messages pass through to the build log.
foreach(var PROGRAM INPUT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "KarvoRunFilter.cmake needs -D${var}=...")
  endif()
endforeach()

set(partial "${OUTPUT}.partial")
file(REMOVE "${OUTPUT}" "${partial}")
execute_process(
  COMMAND "${PROGRAM}" ${ARGS}
  INPUT_FILE "${INPUT}"
  OUTPUT_FILE "${partial}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${partial}")
  get_filename_component(tool "${PROGRAM}" NAME)
  message(FATAL_ERROR "${tool} failed (status ${status}) on ${INPUT}")
endif()
file(RENAME "${partial}" "${OUTPUT}")
