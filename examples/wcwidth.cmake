# A C program linked with libwcwidthtab, run by the demo target.
add_executable(wcwidth_demo EXCLUDE_FROM_ALL wcwidth_demo.c)
target_link_libraries(wcwidth_demo PRIVATE wcwidthtab)
# Linked by the C driver: the library needs no C++ runtime.
set_target_properties(wcwidth_demo PROPERTIES LINKER_LANGUAGE C)
karvo_strict_warnings(wcwidth_demo)

add_custom_target(wcwidth_demo_run
  COMMAND wcwidth_demo
  DEPENDS wcwidth_demo
  COMMENT "Column widths of a multilingual line"
  VERBATIM)
add_dependencies(demo wcwidth_demo_run)
