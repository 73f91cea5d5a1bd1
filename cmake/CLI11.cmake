# CLI11, the header-only command-line parser of Debian's libcli11-dev. Its headers sit in
# /usr/include beside glibc's, which a cross compiler must never see, so the build gets a folder
# of its own that holds nothing but a link to them.
find_path(DNL_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(DNL_CLI11_LINK_DIR ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${DNL_CLI11_LINK_DIR})
file(CREATE_LINK ${DNL_CLI11_INCLUDE_DIR}/CLI ${DNL_CLI11_LINK_DIR}/CLI SYMBOLIC)

add_library(dnl_cli11 INTERFACE)
target_include_directories(dnl_cli11 SYSTEM INTERFACE ${DNL_CLI11_LINK_DIR})
