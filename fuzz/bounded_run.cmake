# A short libFuzzer run from the committed corpus. New inputs go to a scratch
# folder (emptied first), never into the corpus; any crash, leak, sanitizer
# report or failed check ends the run with a non-zero status.
#   cmake -DFUZZER=<target> -DCORPUS=<dir> -DSCRATCH=<dir> -DSECONDS=<n> -P bounded_run.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/corpus" "${SCRATCH}/artifacts")
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -print_final_stats=1
          -artifact_prefix=${SCRATCH}/artifacts/ "${SCRATCH}/corpus" "${CORPUS}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "fuzzing failed (status ${status}); reproducer in ${SCRATCH}/artifacts")
endif()
