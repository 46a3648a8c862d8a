# Warnings are errors in the project's own code. Targets built from
# third-party or generated sources do not call this.
function(karvo_strict_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wcast-qual -Wformat=2
    -Wundef -Wnull-dereference)
endfunction()
