# What `cmake --install` puts on a Linux system, and the Debian package
# `cpack -G DEB` makes of it.
include(GNUInstallDirs)

install(TARGETS regioncap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/regioncap.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/regioncap.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/regioncap.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# Not started at login until the user copies it to ~/.config/autostart: a
# capture tool that grabs a shortcut is the user's choice, not the package's.
install(FILES data/regioncap-daemon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/regioncap)

set(CPACK_PACKAGE_NAME regioncap)
set(CPACK_PACKAGE_VENDOR "regioncap")
set(CPACK_PACKAGE_CONTACT "regioncap developers <regioncap@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "region screenshot tool with a Chinese interface")
set(CPACK_PACKAGE_DESCRIPTION "Freezes the screen under a dimmed overlay; drag out a rectangle and copy its pixels to the clipboard or save them as PNG, BMP, JPEG or GIF. regioncap --daemon starts a capture at Ctrl+Alt+A.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries it links come from dpkg-shlibdeps; GTK is loaded only for
# the save dialog, libdbus only for the Wayland screenshot portal, and the
# interface wants a font with Chinese characters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgtk-3-0, libdbus-1-3, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xclip")
set(CPACK_STRIP_FILES ON)
include(CPack)
