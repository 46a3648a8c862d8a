# Build functions for the two generators, for projects that use the tools
# through find_package(KarvoBuildTools) or add_subdirectory():
#
#   kwhashgen_generate(<out.c> INPUT <keywords> [STEP <n> | STEP AUTO] [TARGET <target>])
#   chkprotogen_generate(<out.h> INPUT <source> [TARGET <target>])
#   chkprotogen_add_check(<target> INPUT <table.c> HEADERS <declarations.h>...
#                         [INCLUDE_DIRECTORIES <dir>...] [ALLOW_EMPTY])
#
# Each _generate() adds a custom command that writes <out> (relative paths:
# output in the current binary directory, input in the current source
# directory). It reruns when the input or the tool changes, fails the build
# with the tool's own messages when the tool fails, and never leaves a partial
# or stale file behind. On success the build log stays quiet (VERBOSE=1 shows
# kwhashgen's report); chkprotogen's warnings are always shown, led by the
# input's path and line.
#
# With TARGET (a target defined in the same directory), <out> joins the
# target's sources as a header, never compiled on its own, and its folder the
# target's private include directories: a source of the target includes it
# by its name. Without TARGET, list <out> among a target's sources yourself.
#
# STEP AUTO tries the odd step sizes 5, 7, ... 255, then 1 and 3, and keeps
# the first that separates the keywords; the generated file's opening comment
# names it. When a fixed step fails, the failure says whether STEP AUTO would
# find one.
#
# chkprotogen_add_check() adds an object library <target> that compiles the
# prototype-check fragment of <table.c> against the given declarations. On gcc
# and clang each check is a compile-time assertion, an error whatever the
# warning flags (-w included), reported at the table's line and naming the
# function. A table that yields no check fails the target, naming the table,
# unless ALLOW_EMPTY is given. It is built with the project (add_dependencies()
# on it orders it before a library's own objects).
#
# Every mistake in a call (an unknown or misspelt keyword, a path the build
# could not carry, a header that is not there, a target name that is not one)
# stops the configuration, naming the call, before anything is written.
include_guard(GLOBAL)

# Paths are passed through CMake lists, generator expressions and make rules
# on their way into the build; refuse, before the build, those that would be
# taken apart on the way. <role> is "input" or "output".
function(_karvo_check_path caller role path)
  set(reason "")
  if(path MATCHES ";")
    set(reason "';', which CMake takes as a list separator")
  elseif(path MATCHES "\\$<")
    set(reason "'$<', which CMake takes as a generator expression")
  elseif(path MATCHES "\\\\")
    set(reason "a backslash, which the build takes as a folder separator")
  elseif(role STREQUAL "output" AND path MATCHES "[#<>]")
    set(reason "'#', '<' or '>', which CMake refuses in a generated file's name")
  elseif(path MATCHES "[|]")
    set(reason "'|', which make and Ninja take as the start of order-only dependencies")
  elseif(path MATCHES "[\t\r\n]")
    set(reason "a tab or a line break, which no make or Ninja rule can hold")
  elseif(path MATCHES ":" AND CMAKE_GENERATOR MATCHES "Makefiles")
    set(reason "':', which make takes as a rule separator")
  endif()
  if(NOT reason STREQUAL "")
    message(FATAL_ERROR "${caller}: the ${role} path \"${path}\" holds ${reason}; rename it")
  endif()
endfunction()

# Refuses, naming the call and the word, an argument that no keyword took
# (the first of <unparsed>), and, among the paths that lists took (ARGN), a
# word in capitals that names no file, as a misspelt keyword after a list
# would be taken.
function(_karvo_refuse_unknown caller unparsed)
  if(NOT unparsed STREQUAL "")
    list(GET unparsed 0 word)
    message(FATAL_ERROR "${caller}: unknown argument \"${word}\"")
  endif()
  foreach(word IN LISTS ARGN)
    if(word MATCHES "^[A-Z][A-Z0-9_]*$" AND NOT EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${word}")
      message(FATAL_ERROR "${caller}: unknown argument \"${word}\"")
    endif()
  endforeach()
endfunction()

# Refuses a name that add_library() would refuse, or one that would place the
# target's generated files outside its folder of the build tree (a name made
# of dots), before anything is written under it.
function(_karvo_check_target_name caller name)
  if(NOT name MATCHES "^[A-Za-z0-9_.+-]+$" OR name MATCHES "^[.]+$")
    message(FATAL_ERROR "${caller}: \"${name}\" is not a target name (letters, digits and "
                        "_ . + - only)")
  endif()
  if(TARGET ${name})
    message(FATAL_ERROR "${caller}: a target named \"${name}\" already exists")
  endif()
endfunction()

# Refuses a header (ARGN) that names no file: neither one in the source tree
# nor one generated in this directory. Sets <out> to the generated ones,
# which the check must list among its sources to have them made first.
function(_karvo_check_headers out caller)
  set(generated_headers "")
  foreach(header IN LISTS ARGN)
    get_filename_component(path "${header}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_source_file_property(generated "${path}" GENERATED)
    if(generated)
      list(APPEND generated_headers "${path}")
    elseif(IS_DIRECTORY "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "${caller}: the header \"${header}\" names no file (looked for ${path})")
    endif()
  endforeach()
  set(${out} "${generated_headers}" PARENT_SCOPE)
endfunction()

# Sets <out> to the real target that TARGET <name> names, refusing what
# cannot take a generated source: no such target, an imported or interface
# target, or one defined in another directory (a custom command's output is
# only built for targets of its own directory).
function(_karvo_resolve_target out caller name)
  if(name STREQUAL "")
    message(FATAL_ERROR "${caller}: TARGET takes the name of a target")
  elseif(NOT TARGET ${name})
    message(FATAL_ERROR "${caller}: TARGET ${name} is not a target; define it before this call")
  endif()
  get_target_property(aliased ${name} ALIASED_TARGET)
  if(aliased)
    set(name ${aliased})
  endif()
  get_target_property(imported ${name} IMPORTED)
  get_target_property(type ${name} TYPE)
  set(buildable "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
  if(imported OR NOT type MATCHES "${buildable}")
    message(FATAL_ERROR "${caller}: TARGET ${name} is not a library or program built here")
  endif()
  get_target_property(target_dir ${name} SOURCE_DIR)
  if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    message(FATAL_ERROR "${caller}: TARGET ${name} is defined in ${target_dir}; call this there")
  endif()
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# Makes <output> a header of <target>: listed among its sources (so that the
# build generates it first), never compiled itself, and found by its name
# from the target's sources.
function(_karvo_add_to_target target output)
  get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  get_filename_component(output_dir "${output}" DIRECTORY)
  target_sources(${target} PRIVATE "${output}")
  set_source_files_properties("${output}" PROPERTIES HEADER_FILE_ONLY ON)
  target_include_directories(${target} PRIVATE "${output_dir}")
endfunction()

# Adds the custom command that runs <tool> through KarvoRunFilter.cmake;
# the remaining arguments are passed to the script as -D settings.
function(_karvo_add_generation caller tool output input unparsed)
  if(input STREQUAL "")
    message(FATAL_ERROR "${caller}(${output}): INPUT is required")
  endif()
  _karvo_refuse_unknown("${caller}(${output})" "${unparsed}")
  if(NOT TARGET Karvo::${tool})
    message(FATAL_ERROR "${caller}: no target Karvo::${tool}; was the tool built or found?")
  endif()
  # Checked as given too: making a path absolute turns backslashes into '/'.
  _karvo_check_path(${caller} input "${input}")
  _karvo_check_path(${caller} output "${output}")
  get_filename_component(input "${input}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  _karvo_check_path(${caller} input "${input}")
  _karvo_check_path(${caller} output "${output}")

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
            "-DOUTPUT=${output}" ${ARGN} -P "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/KarvoRunFilter.cmake"
    DEPENDS ${depends} "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/KarvoRunFilter.cmake"
    COMMENT "Generating ${output} with ${tool}"
    VERBATIM)
endfunction()

function(kwhashgen_generate output)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "INPUT;STEP;TARGET" "")
  set(caller "kwhashgen_generate(${output})")
  _karvo_refuse_unknown("${caller}" "${ARG_UNPARSED_ARGUMENTS}")
  set(settings "")
  if(ARG_STEP STREQUAL "AUTO")
    set(settings -DSTEP_AUTO=ON)
  elseif(ARG_STEP MATCHES "^[0-9]+$")
    set(settings "-DARGS=${ARG_STEP}" -DSUGGEST_STEP=ON)
  elseif(DEFINED ARG_STEP OR "STEP" IN_LIST ARG_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "${caller}: STEP takes a number or AUTO, not \"${ARG_STEP}\"")
  else()
    set(settings -DSUGGEST_STEP=ON)
  endif()
  if(DEFINED ARG_TARGET OR "TARGET" IN_LIST ARG_KEYWORDS_MISSING_VALUES)
    _karvo_resolve_target(target "${caller}" "${ARG_TARGET}")
  endif()
  _karvo_add_generation(kwhashgen_generate kwhashgen "${output}" "${ARG_INPUT}" "" ${settings})
  if(DEFINED target)
    _karvo_add_to_target(${target} "${output}")
  endif()
endfunction()

function(chkprotogen_generate output)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "INPUT;TARGET" "")
  set(caller "chkprotogen_generate(${output})")
  _karvo_refuse_unknown("${caller}" "${ARG_UNPARSED_ARGUMENTS}")
  if(DEFINED ARG_TARGET OR "TARGET" IN_LIST ARG_KEYWORDS_MISSING_VALUES)
    _karvo_resolve_target(target "${caller}" "${ARG_TARGET}")
  endif()
  _karvo_add_generation(chkprotogen_generate chkprotogen "${output}" "${ARG_INPUT}" "" -DWARNINGS=ON)
  if(DEFINED target)
    _karvo_add_to_target(${target} "${output}")
  endif()
endfunction()

function(chkprotogen_add_check target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "ALLOW_EMPTY" "INPUT" "HEADERS;INCLUDE_DIRECTORIES")
  set(caller "chkprotogen_add_check(${target})")
  # Everything about the call is checked before a file is written under the
  # target's name.
  _karvo_check_target_name("${caller}" "${target}")
  _karvo_refuse_unknown("${caller}" "${ARG_UNPARSED_ARGUMENTS}" ${ARG_HEADERS}
                        ${ARG_INCLUDE_DIRECTORIES})
  _karvo_check_headers(generated_headers "${caller}" ${ARG_HEADERS})
  if(NOT ARG_INPUT)
    message(FATAL_ERROR "${caller}: INPUT is required (the source with the MAKE_INTRINSIC table)")
  endif()
  if(NOT ARG_HEADERS)
    message(FATAL_ERROR "${caller}: HEADERS is required (the declarations of the C functions)")
  endif()
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(NOT "C" IN_LIST languages)
    message(FATAL_ERROR "${caller}: the check is C; enable the C language in project()")
  endif()

  # The fragment, then one translation unit that includes the declarations
  # and the fragment; it is compiled, never linked. The assertions' #line
  # directives name the table by its full path, as the warnings do.
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  get_filename_component(table "${ARG_INPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(tool_args "--assert-prototypes=${table}")
  if(ARG_ALLOW_EMPTY)
    string(APPEND tool_args "$<SEMICOLON>--allow-empty")
  endif()
  _karvo_add_generation(chkprotogen_add_check chkprotogen "${dir}/prototype_checks.h"
                        "${ARG_INPUT}" "${ARG_UNPARSED_ARGUMENTS}" -DWARNINGS=ON
                        "-DARGS=${tool_args}")
  set(includes "")
  foreach(header IN LISTS ARG_HEADERS)
    _karvo_check_path(${caller} header "${header}")
    get_filename_component(header "${header}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    _karvo_check_path(${caller} header "${header}")
    string(FIND "${header}" "\"" quote)
    if(NOT quote EQUAL -1)
      message(FATAL_ERROR "${caller}: the header path \"${header}\" holds a double quote, "
                          "which an #include line cannot")
    endif()
    string(APPEND includes "#include \"${header}\"\n")
  endforeach()
  # Most check variables go unused by one table, and the function that holds
  # the assignments is never called.
  file(
    CONFIGURE
    OUTPUT "${dir}/prototype_checks.c"
    CONTENT
      "/* Generated by chkprotogen_add_check(${target}); compiled, never linked. */\n@includes@
#if defined(__GNUC__)
#pragma GCC diagnostic ignored \"-Wunused-variable\"
#pragma GCC diagnostic ignored \"-Wunused-function\"
#endif
#include \"prototype_checks.h\"
"
    @ONLY)

  add_library(${target} OBJECT "${dir}/prototype_checks.c" "${dir}/prototype_checks.h"
                               ${generated_headers})
  target_include_directories(${target} PRIVATE ${ARG_INCLUDE_DIRECTORIES})
endfunction()
