# Cross-builds the Windows programs on Debian with MinGW-w64 (the posix thread model, whose
# std::thread and std::mutex work), and runs the test programs under Wine:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DNL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DNL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DNL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DNL_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW-w64 tree only, never from the Linux system.
set(CMAKE_FIND_ROOT_PATH /usr/${DNL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest, and GoogleTest's test discovery, run the Windows programs through Wine, in the private
# Wine prefix that scripts/windows makes inside the build folder.
find_program(DNL_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine
                                  WINEDEBUG=-all ${DNL_WINE})
