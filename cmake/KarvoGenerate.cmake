# Build functions for the two generators, for projects that use the tools
# through find_package(KarvoBuildTools) or add_subdirectory():
#
#   kwhashgen_generate(<out.c> INPUT <keywords> [STEP <n>])
#   chkprotogen_generate(<out.c> INPUT <source>)
#
# Each adds a custom command that writes <out.c> (relative paths: output in
# the current binary directory, input in the current source directory). It
# reruns when the input or the tool changes, fails the build with the tool's
# own messages when the tool fails, and never leaves a partial file behind.
# List <out.c> among a target's sources (or include it from one that is).
include_guard(GLOBAL)

function(_karvo_generate tool output)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "INPUT;STEP" "")
  if(NOT ARG_INPUT)
    message(FATAL_ERROR "${tool}_generate(${output}): INPUT is required")
  endif()
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${tool}_generate(${output}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET Karvo::${tool})
    message(FATAL_ERROR "${tool}_generate: no target Karvo::${tool}; "
                        "was the tool built or found?")
  endif()
  get_filename_component(input "${ARG_INPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")

  set(tool_args "")
  if(DEFINED ARG_STEP)
    set(tool_args "-DARGS=${ARG_STEP}")
  endif()
  # A file dependency on the tool reruns the command when the tool changes;
  # a built (not imported) tool also needs a target dependency so that it is
  # built first.
  set(depends "${input}" "$<TARGET_FILE:Karvo::${tool}>")
  get_target_property(built_tool Karvo::${tool} ALIASED_TARGET)
  if(built_tool)
    list(APPEND depends ${built_tool})
  endif()

  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DPROGRAM=$<TARGET_FILE:Karvo::${tool}>" "-DINPUT=${input}"
            "-DOUTPUT=${output}" ${tool_args} -P "${_KARVO_RUN_FILTER}"
    DEPENDS ${depends}
    COMMENT "Generating ${output} with ${tool}"
    VERBATIM)
endfunction()

set(_KARVO_RUN_FILTER "${CMAKE_CURRENT_LIST_DIR}/KarvoRunFilter.cmake")
set_property(GLOBAL PROPERTY KARVO_RUN_FILTER "${_KARVO_RUN_FILTER}")

function(kwhashgen_generate output)
  get_property(_KARVO_RUN_FILTER GLOBAL PROPERTY KARVO_RUN_FILTER)
  _karvo_generate(kwhashgen "${output}" ${ARGN})
endfunction()

function(chkprotogen_generate output)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "STEP" "")
  if(DEFINED ARG_STEP)
    message(FATAL_ERROR "chkprotogen_generate(${output}): chkprotogen takes no STEP")
  endif()
  get_property(_KARVO_RUN_FILTER GLOBAL PROPERTY KARVO_RUN_FILTER)
  _karvo_generate(chkprotogen "${output}" ${ARGN})
endfunction()
