# placeholder: the resource script, icons and manifest
add_library(spindrel_saver_resources INTERFACE)
