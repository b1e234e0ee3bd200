# Installing and packaging: the program, its manual, the desktop entry, the icon and the
# AppStream metadata in the places a Linux desktop looks for them. An installed copy finds its
# manual in ../share/q7zibo beside bin and keeps the user's sheets in the user's data folder.
include(GNUInstallDirs)

set(Q7_APP_ID io.github.q7zibo.q7zibo)
configure_file(${CMAKE_SOURCE_DIR}/resources/desktop/${Q7_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${Q7_APP_ID}.metainfo.xml @ONLY)

install(TARGETS q7zibo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/src/help/q7Zibo.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/q7zibo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/${Q7_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/q7zibo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/${Q7_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# cpack -G DEB: the libraries' packages come from dpkg-shlibdeps; the Qt plugins the program
# loads at run time (the display and the SVG icons) are named here, as no linked library shows them.
set(CPACK_PACKAGE_NAME q7zibo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "q7Zibo")
set(CPACK_PACKAGE_CONTACT "q7Zibo developers <q7zibo@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plain-text editor with seven sheets / 7 枚のシートのテキストエディタ")
# The summary above is the first line of the package's description; this is the rest of it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"A fast plain-text editor for Japanese desktop users. Seven sheets sit behind
a tab strip; each keeps its text in its own file and gets it back on the next
start.

日本語のデスクトップ向けの軽いテキストエディタです。タブの後ろの
7 枚のシートは、それぞれの内容を自分のファイルに保ち、次の起動で
元に戻ります。")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)
