# Generate the keyword hash from keywords.txt and build the lookup demo
# around it, as the interpreter's build does for its scanner.
set(keyword_hash ${CMAKE_CURRENT_BINARY_DIR}/keyword_hash.c)
kwhashgen_generate(${keyword_hash} INPUT keywords.txt)

add_executable(keyword_demo keyword_demo.c ${keyword_hash})
set_source_files_properties(${keyword_hash} PROPERTIES HEADER_FILE_ONLY ON)
target_include_directories(keyword_demo PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
  ${CMAKE_CURRENT_BINARY_DIR})
target_compile_options(keyword_demo PRIVATE -Wall -Wextra -pedantic -Werror)

add_custom_target(demo-kwhashgen
  COMMAND ${CMAKE_COMMAND} -E echo "== kwhashgen: keyword lookups in a freshly generated hash"
  COMMAND keyword_demo
  DEPENDS keyword_demo
  VERBATIM)
add_dependencies(demo demo-kwhashgen)
