# Installation for the desktop (program, menu entry, AppStream data, themed icons) and the
# Debian package built by CPack.
include(GNUInstallDirs)

set(MOSAIKON_APP_ID org.example.mosaikon)
set(MOSAIKON_ICON_DIR ${PROJECT_SOURCE_DIR}/src/window/resources/icons)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIKON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIKON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128)
  install(FILES ${MOSAIKON_ICON_DIR}/mosaikon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MOSAIKON_APP_ID}.png)
endforeach()
install(FILES ${MOSAIKON_ICON_DIR}/mosaikon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MOSAIKON_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mosaikon)
set(CPACK_PACKAGE_VENDOR "The Mosaikon developers")
set(CPACK_PACKAGE_CONTACT "The Mosaikon developers <mosaikon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for 32 x 32 icons")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://mosaikon.example.org")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Library dependencies come from dpkg-shlibdeps; the platform plugin and the fonts the window
# asks for by name are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
