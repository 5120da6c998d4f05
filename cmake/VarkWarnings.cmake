# Warnings are errors for our own code; third-party headers come in as SYSTEM.
add_library(vark_warnings INTERFACE)
target_compile_options(vark_warnings INTERFACE -Wall -Wextra -Werror)
