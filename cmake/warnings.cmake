# Warnings are errors in every build of our own code.
add_library(brindlock_warnings INTERFACE)
target_compile_options(brindlock_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
