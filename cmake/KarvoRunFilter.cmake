# Runs one of the generators as a filter during a build:
#   cmake -DPROGRAM=<tool> -DINPUT=<file> -DOUTPUT=<file> [-DARGS=<a;b>]
#         [-DSTEP_AUTO=ON] [-DWARNINGS=ON] -P KarvoRunFilter.cmake
#
# The tool is started under its plain name (its folder is put first on PATH),
# so whatever it writes about its command line is the same in every build
# folder. The output is written to <OUTPUT>.partial and renamed into place
# only when the tool succeeds; the previous output is removed first, so a
# failed run leaves neither a partial nor a stale file.
#
# The tool's messages: on success they are shown only with VERBOSE set in the
# environment; with WARNINGS they are warnings about the input and are always
# shown, each line led by "<INPUT>:<line>: " (or "<INPUT>: ") so that editors
# can jump to it. On failure everything the tool said is shown.
#
# STEP_AUTO (kwhashgen only): try the odd step sizes 5, 7, ... 255, then 1
# and 3, and keep the first that separates the keywords.
foreach(var PROGRAM INPUT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "KarvoRunFilter.cmake needs -D${var}=...")
  endif()
endforeach()

get_filename_component(tool "${PROGRAM}" NAME)
get_filename_component(tool_dir "${PROGRAM}" DIRECTORY)
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
set(partial "${OUTPUT}.partial")

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
  file(RENAME "${path}" "${path}.removing" RESULT reason)
  if(reason STREQUAL "0")
    file(REMOVE "${path}.removing")
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
# and report. A status that is not a number means the tool never ran.
function(run_tool)
  execute_process(
    COMMAND "${tool}" ${ARGN}
    INPUT_FILE "${INPUT}"
    OUTPUT_FILE "${partial}"
    ERROR_VARIABLE report
    RESULT_VARIABLE status
    ${working_directory})
  if(NOT status MATCHES "^[0-9]+$")
    if(NOT EXISTS "${INPUT}")
      message(FATAL_ERROR "${tool}: cannot read ${INPUT}: ${status}")
    elseif(NOT EXISTS "${partial}")
      message(FATAL_ERROR "${tool}: cannot create ${partial}: ${status}")
    endif()
    message(FATAL_ERROR "${tool}: cannot run ${PROGRAM}: ${status}")
  endif()
  set(status "${status}" PARENT_SCOPE)
  set(report "${report}" PARENT_SCOPE)
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

if(STEP_AUTO)
  set(steps "")
  foreach(step RANGE 5 255 2)
    list(APPEND steps ${step})
  endforeach()
  list(APPEND steps 1 3)
  foreach(step IN LISTS steps)
    run_tool(${step})
    if(step EQUAL 5)
      set(first_report "${report}")
    endif()
    # 255 is the search's failure; any other failure would repeat at every
    # step size.
    if(NOT status EQUAL 255)
      break()
    endif()
  endforeach()
  if(status EQUAL 255)
    remove_or_fail("${partial}")
    show_report("${first_report}")
    message(FATAL_ERROR "${tool}: no step size separates the keywords of ${INPUT}")
  endif()
else()
  run_tool(${ARGS})
endif()

if(NOT status EQUAL 0)
  remove_or_fail("${partial}")
  show_report("${report}")
  message(FATAL_ERROR "${tool} failed (status ${status}) on ${INPUT}")
endif()
if(WARNINGS)
  show_warnings("${report}")
elseif(DEFINED ENV{VERBOSE} AND NOT "$ENV{VERBOSE}" STREQUAL "")
  show_report("${report}")
endif()
file(RENAME "${partial}" "${OUTPUT}" RESULT renamed)
if(NOT renamed STREQUAL "0")
  message(FATAL_ERROR "${tool}: cannot rename ${partial} to ${OUTPUT}: ${renamed}")
endif()
