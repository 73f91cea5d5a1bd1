# The Windows packages in the build's dist/ folder: dnltransfer-VERSION-win64.zip, holding
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

# The installer, dnltransfer-VERSION-win64.msi beside the zip (`--target msi`): the same files as
# the zip, stripped, and the icon, gathered in a folder of their own for wixl, which takes the
# files named in packaging/windows/dnltransfer.wxs from the folder it runs in.
find_program(DNL_WIXL wixl)
if(DNL_WIXL)
  set(DNL_MSI_FILES ${PROJECT_BINARY_DIR}/msi-files)
  set(DNL_MSI ${CPACK_PACKAGE_DIRECTORY}/dnltransfer-${PROJECT_VERSION}-win64.msi)
  add_custom_command(
    OUTPUT ${DNL_MSI}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${DNL_MSI_FILES}
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${DNL_MSI_FILES} --strip
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/dnltransfer.ico
            ${DNL_MSI_FILES}
    COMMAND ${CMAKE_COMMAND} -E chdir ${DNL_MSI_FILES} ${DNL_WIXL} --arch x64
            --define Version=${PROJECT_VERSION} --output ${DNL_MSI}
            ${CMAKE_CURRENT_LIST_DIR}/dnltransfer.wxs
    DEPENDS dnltransfer dnlconv ${CMAKE_CURRENT_LIST_DIR}/dnltransfer.wxs
            ${CMAKE_CURRENT_LIST_DIR}/README.txt ${PROJECT_SOURCE_DIR}/LICENSE
            ${PROJECT_SOURCE_DIR}/packaging/dnltransfer.ico
    VERBATIM)
  add_custom_target(msi DEPENDS ${DNL_MSI})
endif()
