# GoogleTest built from Debian's source package for a cross build, where the Linux libraries of
# libgtest-dev cannot link. It defines the same GTest:: targets that find_package(GTest) gives.
set(DNL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source folder")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${DNL_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Someone else's code: our warnings, and -Werror, are not for it.
set_property(TARGET gtest gtest_main gmock gmock_main PROPERTY COMPILE_OPTIONS -w)
