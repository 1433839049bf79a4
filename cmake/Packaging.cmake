# What the Debian package holds (cpack -G DEB, see README). The program sits in
# /usr/lib/kelma behind a launcher that gives a new workstation a database.
include(GNUInstallDirs)
install(TARGETS kelma RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/kelma)
install(TARGETS kelma-admin kelma-fileserver kelma-versiyon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS data/packaging/kelma.sh DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kelma)
install(FILES data/packaging/kelma.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/packaging/kelma.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/packaging/kelma-fileserver.service DESTINATION lib/systemd/system)
install(DIRECTORY data/masterdata/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelma/masterdata
        FILES_MATCHING PATTERN "*.csv")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelma)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "KELMA <kelma@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Belediye evrak kayıt, dağıtım ve arşiv programı")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link, found by dpkg-shlibdeps, and the embedded
# engine, which is loaded as a plugin and so is not found that way, and Qt's
# own Turkish texts, which are read at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2, firebird3.0-server-core, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer | libreoffice-writer-nogui, libreoffice-calc | libreoffice-calc-nogui, poppler-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server")
include(CPack)
