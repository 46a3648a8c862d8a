# Runs one of the generators as a filter during a build:
#   cmake -DPROGRAM=<tool> -DINPUT=<file> -DOUTPUT=<file> [-DARGS=<a;b>]
#         [-DSTEP_AUTO=ON | -DSUGGEST_STEP=ON] [-DWARNINGS=ON] -P KarvoRunFilter.cmake
#
# The tool is started under its plain name (its folder is put first on PATH),
# so whatever it writes about its command line is the same in every build
# folder. The output is written to a scratch file in the output's folder,
# .kv<hash of the output's name>.tmp (short, so that it fits wherever the
# output's name fits), and renamed into place only when the tool succeeds;
# the previous output is removed first, so a failed run leaves neither a
# scratch nor a stale file.
#
# The tool's messages: on success they are shown only with VERBOSE set in the
# environment; with WARNINGS they are warnings about the input and are always
# shown, each line led by "<INPUT>:<line>: " (or "<INPUT>: ") so that editors
# can jump to it. On failure, whether the tool returned a status or was
# killed, everything it said is shown.
#
# STEP_AUTO (kwhashgen only): try the odd step sizes 5, 7, ... 255, then 1
# and 3, and keep the first that separates the keywords. SUGGEST_STEP
# (kwhashgen with a fixed step): when that step does not separate the
# keywords, find out whether another one does and say so in the failure.
foreach(var PROGRAM INPUT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "KarvoRunFilter.cmake needs -D${var}=...")
  endif()
endforeach()

get_filename_component(tool "${PROGRAM}" NAME)
get_filename_component(tool_dir "${PROGRAM}" DIRECTORY)
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
get_filename_component(output_name "${OUTPUT}" NAME)
string(SHA256 output_hash "${output_name}")
string(SUBSTRING "${output_hash}" 0 16 output_hash)
set(partial "${output_dir}/.kv${output_hash}.tmp")

# Removes <path>, or fails the build naming it and the system's reason.
# file(REMOVE) reports nothing, so the reason comes from a rename in the same
# folder, which the same permissions forbid.
function(remove_or_fail path)
  file(REMOVE "${path}")
  if(NOT EXISTS "${path}" AND NOT IS_SYMLINK "${path}")
    return()
  endif()
  if(IS_DIRECTORY "${path}")
    message(FATAL_ERROR "${tool}: cannot remove ${path}: it is a folder")
  endif()
  # The rename's target is short too, so that the reason is not that the
  # name got too long.
  set(doomed "${output_dir}/.kv${output_hash}.removing")
  file(RENAME "${path}" "${doomed}" RESULT reason)
  if(reason STREQUAL "0")
    file(REMOVE "${doomed}")
    return()
  endif()
  message(FATAL_ERROR "${tool}: cannot remove ${path}: ${reason}")
endfunction()

# Prints the tool's report to standard error as it stands.
function(show_report report)
  string(REGEX REPLACE "\n$" "" report "${report}")
  if(NOT report STREQUAL "")
    message(NOTICE "${report}")
  endif()
endfunction()

# Prints warnings about INPUT, each line led by the input's path and, where
# the warning names a line, its number.
function(show_warnings report)
  set(lines "")
  while(NOT report STREQUAL "")
    string(FIND "${report}" "\n" end)
    if(end EQUAL -1)
      set(line "${report}")
      set(report "")
    else()
      string(SUBSTRING "${report}" 0 ${end} line)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${report}" ${end} -1 report)
    endif()
    if(line MATCHES "line ([0-9]+)")
      string(APPEND lines "${INPUT}:${CMAKE_MATCH_1}: ${line}\n")
    else()
      string(APPEND lines "${INPUT}: ${line}\n")
    endif()
  endwhile()
  show_report("${lines}")
endfunction()

# Runs the tool with the given arguments into the partial file; sets status
# and report. A tool that did not run to its end (it could not be started,
# or a signal killed it) fails the build here, with whatever it said and
# without its partial output.
function(run_tool)
  execute_process(
    COMMAND "${tool}" ${ARGN}
    INPUT_FILE "${INPUT}"
    OUTPUT_FILE "${partial}"
    ERROR_VARIABLE report
    RESULT_VARIABLE status
    ${working_directory})
  if(NOT status MATCHES "^[0-9]+$")
    set(created FALSE)
    if(EXISTS "${partial}")
      set(created TRUE)
    endif()
    show_report("${report}")
    remove_or_fail("${partial}")
    if(NOT EXISTS "${INPUT}")
      message(FATAL_ERROR "${tool}: cannot read ${INPUT}: ${status}")
    elseif(NOT created)
      message(FATAL_ERROR "${tool}: cannot create ${partial}: ${status}")
    elseif(NOT EXISTS "${PROGRAM}")
      message(FATAL_ERROR "${tool}: cannot run ${PROGRAM}: ${status}")
    endif()
    message(FATAL_ERROR "${tool} did not finish on ${INPUT}: ${status}")
  endif()
  set(status "${status}" PARENT_SCOPE)
  set(report "${report}" PARENT_SCOPE)
endfunction()

# Runs kwhashgen with each of the given step sizes until one separates the
# keywords or the tool fails for another reason; sets step, status, report
# and first_report (the report of the first step tried).
function(try_steps)
  unset(first_report)
  foreach(tried IN LISTS ARGN)
    run_tool(${tried})
    set(step ${tried})
    if(NOT DEFINED first_report)
      set(first_report "${report}")
    endif()
    # 255 is the search's failure; any other failure would repeat at every
    # step size.
    if(NOT status EQUAL 255)
      break()
    endif()
  endforeach()
  foreach(var step status report first_report)
    set(${var} "${${var}}" PARENT_SCOPE)
  endforeach()
endfunction()

# PATH lists folders separated by ':'; a tool folder that holds one is
# searched instead as "." from inside it (input and output are absolute).
set(working_directory "")
if(tool_dir MATCHES ":")
  set(ENV{PATH} ".:$ENV{PATH}")
  set(working_directory WORKING_DIRECTORY "${tool_dir}")
else()
  set(ENV{PATH} "${tool_dir}:$ENV{PATH}")
endif()

remove_or_fail("${OUTPUT}")
remove_or_fail("${partial}")
if(NOT IS_DIRECTORY "${output_dir}")
  file(MAKE_DIRECTORY "${output_dir}")
endif()

set(auto_steps "")
foreach(step RANGE 5 255 2)
  list(APPEND auto_steps ${step})
endforeach()
list(APPEND auto_steps 1 3)

if(STEP_AUTO)
  try_steps(${auto_steps})
  if(status EQUAL 255)
    show_report("${first_report}")
    remove_or_fail("${partial}")
    message(FATAL_ERROR "${tool}: no step size separates the keywords of ${INPUT}")
  endif()
else()
  run_tool(${ARGS})
endif()

if(NOT status EQUAL 0)
  # The tool's messages first: they stay shown if the removal fails too.
  show_report("${report}")
  remove_or_fail("${partial}")
  set(failure "${tool} failed (status ${status}) on ${INPUT}")
  if(status EQUAL 255 AND SUGGEST_STEP)
    # Only the search failed: say whether STEP AUTO would find a step.
    try_steps(${auto_steps})
    remove_or_fail("${partial}")
    if(status EQUAL 0)
      string(APPEND failure "\n${tool}: step ${step} separates these keywords; "
             "write STEP AUTO (or STEP ${step}) in kwhashgen_generate()")
    elseif(status EQUAL 255)
      string(APPEND failure "\n${tool}: no step size separates the keywords of ${INPUT}")
    endif()
  endif()
  message(FATAL_ERROR "${failure}")
endif()
if(WARNINGS)
  show_warnings("${report}")
elseif(DEFINED ENV{VERBOSE} AND NOT "$ENV{VERBOSE}" STREQUAL "")
  show_report("${report}")
endif()
file(RENAME "${partial}" "${OUTPUT}" RESULT renamed)
if(NOT renamed STREQUAL "0")
  remove_or_fail("${partial}")
  message(FATAL_ERROR "${tool}: cannot rename ${partial} to ${OUTPUT}: ${renamed}")
endif()
