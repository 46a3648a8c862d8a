# Runs chkprotogen as a build step, the way the library's build does: the
# intrinsic table on standard input, the fragment on standard output, the
# warnings through to the build log. A failed run removes the fragment, so no
# truncated file is left for the next build to take as up to date.
#
#   cmake -DCHKPROTOGEN=<program> -DINPUT=<table.c> -DOUTPUT=<fragment> -P chkprotogen_run.cmake
foreach(var CHKPROTOGEN INPUT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "chkprotogen_run.cmake: ${var} is not set")
  endif()
endforeach()

execute_process(
  COMMAND ${CHKPROTOGEN}
  INPUT_FILE ${INPUT}
  OUTPUT_FILE ${OUTPUT}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "chkprotogen failed on ${INPUT}: ${status}")
endif()
