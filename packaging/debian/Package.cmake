# Two Debian packages from one build, each with its copyright file, its changelog and what lintian
# is to know: dnlconv, the command-line tool alone, and dnltransfer, the Qt window.

# The copyright file in Debian's machine-readable form, made from LICENSE so that the two never
# differ: its holders, and its permission text as the licence's paragraph.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE DNL_LICENSE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" DNL_COPYRIGHT "${DNL_LICENSE}")
set(DNL_COPYRIGHT ${CMAKE_MATCH_1})
string(FIND "${DNL_LICENSE}" "Permission is hereby granted" DNL_PERMISSION_START)
string(SUBSTRING "${DNL_LICENSE}" ${DNL_PERMISSION_START} -1 DNL_LICENSE_TEXT)
string(STRIP "${DNL_LICENSE_TEXT}" DNL_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" DNL_LICENSE_TEXT "${DNL_LICENSE_TEXT}")
string(REPLACE "\n" "\n " DNL_LICENSE_TEXT " ${DNL_LICENSE_TEXT}")

set(CPACK_PACKAGE_CONTACT "DnlTransfer maintainers <maintainers@users.noreply.c-seed-1e192b04.example>")
set(DNL_DEBIAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/debian)
foreach(package IN LISTS DNL_PACKAGES)
  set(dir ${DNL_DEBIAN_DIR}/${package})
  configure_file(debian/copyright.in ${dir}/copyright @ONLY)
  add_custom_command(
    OUTPUT ${dir}/changelog.gz
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            ${package} ${PROJECT_VERSION} ${CPACK_PACKAGE_CONTACT} ${dir}/changelog.gz
    DEPENDS debian/changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    VERBATIM)
  list(APPEND DNL_CHANGELOGS ${dir}/changelog.gz)
  install(FILES ${dir}/copyright ${dir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
  configure_file(debian/lintian-overrides.in ${dir}/lintian-overrides @ONLY)
  install(FILES ${dir}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${package} COMPONENT ${package})
endforeach()
add_custom_target(debian_changelogs ALL DEPENDS ${DNL_CHANGELOGS})

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${DNL_PACKAGES})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps names the libraries the programs link, each once.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_DNLCONV_PACKAGE_NAME dnlconv)
set(CPACK_DEBIAN_DNLCONV_DESCRIPTION [[examine DNL files and rewrite them for another video module
dnlconv rewrites DNL files made for one video module of a family (RQX4, LM5,
PZK2, TNWQ8, JSRY3) into files for another, in place: the module name in the
NAME record and the video-format code in the MISC records, after a
byte-for-byte backup beside each file. It also shows what DNL files hold
without changing them, and converts many files at once.

This package holds the command-line tool alone; the dnltransfer package
holds the window.]])

# The window also needs what Qt and the window load at run time, which dpkg-shlibdeps cannot see:
# the platform plugins, and the fonts that stand in for the window's own.
set(CPACK_DEBIAN_DNLTRANSFER_PACKAGE_NAME dnltransfer)
set(CPACK_DEBIAN_DNLTRANSFER_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-vlgothic")
set(CPACK_DEBIAN_DNLTRANSFER_DESCRIPTION [[rewrite a DNL file for another video module, in a window
The dnl File transfer Tool opens a DNL file made for one video module of a
family (RQX4, LM5, PZK2, TNWQ8, JSRY3) and rewrites it, in place, into a file
for another: the module name in its NAME record and the video-format code in
its MISC records. Before it writes, it can save a byte-for-byte backup of the
file beside it. Every step is listed in the window's status memo.

The dnlconv package holds the same conversion as a command-line tool.]])
include(CPack)
