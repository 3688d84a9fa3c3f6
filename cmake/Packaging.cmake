# Installation for the desktop (program, menu entry, AppStream data, themed icons) and the
# Debian package built by CPack.
include(GNUInstallDirs)

set(MOSAIKON_APP_ID org.example.mosaikon)
set(MOSAIKON_ICON_DIR ${PROJECT_SOURCE_DIR}/src/window/resources/icons)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIKON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIKON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# File managers draw icon, cursor and program files with mosaikon-cli thumbnail.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIKON_APP_ID}.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
foreach(size 16 32 48 64 128)
  install(FILES ${MOSAIKON_ICON_DIR}/mosaikon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MOSAIKON_APP_ID}.png)
endforeach()
install(FILES ${MOSAIKON_ICON_DIR}/mosaikon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MOSAIKON_APP_ID}.svg)

# Debian asks every package for its copyright, a changelog and a manual page for each program,
# the last two compressed as its own tools do (gzip -9n: no name or time inside, so the bytes
# depend only on the text).
foreach(page mosaikon mosaikon-cli)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${page}.1.in ${CMAKE_CURRENT_BINARY_DIR}/${page}.1
                 @ONLY)
endforeach()
find_program(GZIP gzip REQUIRED)
set(MOSAIKON_COMPRESSED_DOCS)
foreach(doc ${CMAKE_CURRENT_BINARY_DIR}/mosaikon.1 ${CMAKE_CURRENT_BINARY_DIR}/mosaikon-cli.1
            ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
  get_filename_component(name ${doc} NAME)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     COMMAND ${GZIP} -9n -c ${doc} > ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     DEPENDS ${doc} VERBATIM)
  list(APPEND MOSAIKON_COMPRESSED_DOCS ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(mosaikon_docs ALL DEPENDS ${MOSAIKON_COMPRESSED_DOCS})
# The release build makes only the programs; their documents come with them.
add_dependencies(mosaikon mosaikon_docs)
add_dependencies(mosaikon-cli mosaikon_docs)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/mosaikon.1.gz ${CMAKE_CURRENT_BINARY_DIR}/mosaikon-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mosaikon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mosaikon)
set(CPACK_PACKAGE_VENDOR "The Mosaikon developers")
set(CPACK_PACKAGE_CONTACT "The Mosaikon developers <mosaikon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for 32 x 32 icons")
# Lines under 80 characters, as Debian asks of a package description.
set(CPACK_PACKAGE_DESCRIPTION
    "Mosaikon edits a 32 x 32 icon pixel by pixel on a grid magnified ten times.
It paints single pixels, replaces one colour with another throughout the
icon, moves, mirrors and turns the icon, and picks colours from swatches,
the system colours or a colour spectrum. Every command has a key, and every
change can be undone.

It opens icon, cursor, bitmap and PNG files, from its dialogs, from the
command line or dropped on its window; saves icons whose pure-white pixels
are transparent; takes the icon out of a Windows program or library (PE and
NE files); and exports the icon as a PNG image or as one icon file holding
sizes from 16 to 256 pixels.

mosaikon-cli does the same without a window, for scripts: it writes every
icon group of a program file as an icon file, describes icon, bitmap and
program files (also as JSON), and converts between them.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://mosaikon.example.org")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Library dependencies come from dpkg-shlibdeps; the platform plugin and the fonts the window
# asks for by name are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
