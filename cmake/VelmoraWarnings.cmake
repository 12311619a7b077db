# Strict warnings for the core; GUI code gets the milder set (Qt headers trip the strict one).
add_library(velmora_core_warnings INTERFACE)
target_compile_options(velmora_core_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast -Wnon-virtual-dtor)

add_library(velmora_gui_warnings INTERFACE)
target_compile_options(velmora_gui_warnings INTERFACE -Wall -Wextra)
