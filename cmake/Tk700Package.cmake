# The Debian package (`cmake --build build --target package`): the program with its factory data
# in /usr/lib/tk700 (where it runs from the user's data folder, as it cannot write there), the udev
# rule, a desktop entry, its icon in the hicolor theme, the AppStream metadata with a screenshot,
# tk700ctl's bash completion, the copyright file with the program's licence and that of the font
# it ships, and a changelog. The virtual TK700 stays out: it is a development tool.

set(TK700_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${TK700_PACKAGING_DIR}/tk700.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/modules/img/trayIcon.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME tk700.svg)
install(FILES ${TK700_PACKAGING_DIR}/tk700ctl.bash-completion
        DESTINATION share/bash-completion/completions RENAME tk700ctl)
# The metadata names the screenshot by the address it is published at (AppStream takes only web
# addresses); the package carries the same picture, made by scripts/make-screenshot.sh.
install(FILES ${TK700_PACKAGING_DIR}/screenshot-main.png
        DESTINATION share/tk700/screenshots RENAME main.png)

# copyright: the OFL text indented as the copyright format wants it, blank lines as " .".
file(STRINGS ${PROJECT_SOURCE_DIR}/modules/fonts/OFL.txt ofl_lines)
set(OFL_TEXT "")
foreach(line IN LISTS ofl_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    string(APPEND OFL_TEXT " .\n")
  else()
    string(APPEND OFL_TEXT " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "\n$" "" OFL_TEXT "${OFL_TEXT}")
configure_file(${TK700_PACKAGING_DIR}/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(${TK700_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  COMMENT "Compressing the package's changelog")
set(man_pages)
foreach(page tk700 tk700ctl)
  configure_file(${TK700_PACKAGING_DIR}/${page}.1 ${CMAKE_BINARY_DIR}/packaging/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
    COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/${page}.1 > ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/${page}.1)
  list(APPEND man_pages ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
endforeach()
# A modalias for every model of the device table, as the udev rule has its line; a release for
# every entry of the changelog.
set(TK700_METAINFO ${CMAKE_BINARY_DIR}/packaging/com.talvemark.TK700.metainfo.xml
    CACHE INTERNAL "")
add_custom_command(OUTPUT ${TK700_METAINFO}
  COMMAND ${CMAKE_COMMAND} -DTABLE=${PROJECT_SOURCE_DIR}/modules/setting/apConfig.bin
          -DCHANGELOG=${CMAKE_BINARY_DIR}/packaging/changelog
          -DTEMPLATE=${TK700_PACKAGING_DIR}/com.talvemark.TK700.metainfo.xml.in
          -DOUTPUT=${TK700_METAINFO} -P ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/modules/setting/apConfig.bin
          ${CMAKE_BINARY_DIR}/packaging/changelog
          ${TK700_PACKAGING_DIR}/com.talvemark.TK700.metainfo.xml.in
          ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake ${PROJECT_SOURCE_DIR}/cmake/device_ids.cmake
  COMMENT "Writing the AppStream metadata from the device table and the changelog")
install(FILES ${TK700_METAINFO} DESTINATION share/metainfo)
add_custom_target(tk700_package_docs ALL
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${man_pages} ${TK700_METAINFO})
install(FILES ${man_pages} DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/tk700)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tk700)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "TK700 developers <tk700@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the Talvemark TK700 mouse")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A tray program that gives the TK700's buttons new functions, sets its DPI\n"
    "stages, lift-off distance, report rate and lighting, records macros and\n"
    "keeps profiles. It talks to the mouse over USB HID (hidraw); the udev rule\n"
    "it installs lets the user at the seat reach the mouse without root.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/tk700")
# Libraries from dpkg-shlibdeps. What is loaded at run time it cannot see: the QML modules the
# document imports (QtQuick, QtQuick.Window, and what QtQuick itself imports) and the SVG image
# plugin that draws every image.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtqml-workerscript, qml6-module-qtqml-models, libqt6svg6")
# The Chinese language files need a CJK font; a Wayland session needs Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-wayland")
set(CPACK_STRIP_FILES ON)
# Everything but the virtual TK700's component, in one package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};tk700;Unspecified;/")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
