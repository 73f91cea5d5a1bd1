# The Windows package: dnltransfer-VERSION-win64.zip in the build's dist/ folder, holding
# dnltransfer.exe (the window on the Win32 controls) and dnlconv.exe, each needing no other file,
# a short README, and the licence, as LICENSE.txt so that a double-click opens it. The Qt window
# is not built for Windows.
install(TARGETS dnltransfer dnlconv RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME dnltransfer)
set(CPACK_PACKAGE_VENDOR "DnlTransfer maintainers")
set(CPACK_PACKAGE_FILE_NAME dnltransfer-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/dist)
set(CPACK_STRIP_FILES ON)
include(CPack)
