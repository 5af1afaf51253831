# Warnings as errors for the project's own code; host headers stay untouched.
function(handheld_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference -Werror)
endfunction()
