# What every Windows program of the build shares. Each .exe carries the C++ runtime, libgcc and
# winpthread inside it, so that a user copies one file and runs it.
add_link_options(-static)
