# What an installation holds, and the Debian package made of it (cpack -G DEB in a release
# build folder).
include(GNUInstallDirs)

install(TARGETS tarvexio tarvexio-export RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES dist/tarvexio.service DESTINATION lib/systemd/system)
install(FILES dist/tarvexio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/forms/resources/tarvexio16.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME tarvexio.png)
install(FILES README.md docs/decisions.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvexio)

set(CPACK_PACKAGE_NAME tarvexio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarvexio)
set(CPACK_PACKAGE_CONTACT "Tarvexio <tarvexio@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Retail chain data export agent")
set(CPACK_PACKAGE_DESCRIPTION "Writes one data file per shop and day from the chain's \
back-office database, uploads the files to the data-collection service's FTP server and sends \
again the days it asks for.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads at run time it
# cannot see: the database drivers and the platform plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc, qt6-qpa-plugins, adduser, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/prerm
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
