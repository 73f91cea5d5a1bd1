# nlohmann/json, the header-only JSON library of Debian's nlohmann-json3-dev, for dnlconv's
# --json. Like CLI11 (cmake/CLI11.cmake) its headers sit in /usr/include, which a cross compiler
# must never see, so the build gets a folder of its own that holds nothing but a link to them.
find_path(DNL_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(DNL_JSON_LINK_DIR ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${DNL_JSON_LINK_DIR})
file(CREATE_LINK ${DNL_JSON_INCLUDE_DIR}/nlohmann ${DNL_JSON_LINK_DIR}/nlohmann SYMBOLIC)

add_library(dnl_json INTERFACE)
target_include_directories(dnl_json SYSTEM INTERFACE ${DNL_JSON_LINK_DIR})
