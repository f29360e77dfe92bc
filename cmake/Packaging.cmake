# What an installation holds, and the two Debian packages made of it (cpack -G DEB in a build
# folder of the "package" preset): tarvexiod for a server (the agent without widgets, the
# export tool, the service) and tarvexio for a desktop (the windowed program).
include(GNUInstallDirs)

set(daemon_programs tarvexiod tarvexio-export tarvexioctl)
set(desktop_programs tarvexio)
install(TARGETS ${daemon_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT daemon)
install(TARGETS ${desktop_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
install(FILES dist/tarvexio.service DESTINATION /lib/systemd/system COMPONENT daemon)
install(FILES dist/tarvexio.logrotate DESTINATION /etc/logrotate.d RENAME tarvexio
        COMPONENT daemon)
install(FILES dist/tarvexio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT desktop)
install(FILES src/forms/resources/tarvexio16.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME tarvexio.png
        COMPONENT desktop)

# Each package's documentation folder: licence, changelog (compressed as Debian wants it), the
# README.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND sh -c "gzip -9n -c '${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/changelog' > '${changelog}'"
    DEPENDS dist/debian/changelog
    VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${changelog})
set(components daemon desktop)
set(packages tarvexiod tarvexio)
foreach(component package IN ZIP_LISTS components packages)
    install(FILES dist/debian/copyright ${changelog} README.md docs/decisions.md
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

# The manual pages are written by hand (dist/man): what --help cannot hold (files, examples,
# exit statuses, the service) is theirs. Compressed as Debian wants them.
set(pages)
foreach(program ${daemon_programs} ${desktop_programs})
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
        COMMAND sh -c "gzip -9n -c '${CMAKE_CURRENT_SOURCE_DIR}/dist/man/${program}.1' > '${page}'"
        DEPENDS dist/man/${program}.1
        VERBATIM)
    list(APPEND pages ${page})
    if(program IN_LIST daemon_programs)
        set(component daemon)
    else()
        set(component desktop)
    endif()
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endforeach()
add_custom_target(manpages ALL DEPENDS ${pages})

set(CPACK_PACKAGE_NAME tarvexio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarvexio)
set(CPACK_PACKAGE_CONTACT "Tarvexio developers <packaging@tarvexio.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL daemon desktop)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads at run time it
# cannot see: the database drivers and, for the window, the platform plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(sql_drivers "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc")

set(CPACK_DEBIAN_DAEMON_PACKAGE_NAME tarvexiod)
set(CPACK_DEBIAN_DAEMON_PACKAGE_DEPENDS "${sql_drivers}, adduser, ca-certificates")
set(CPACK_DEBIAN_DAEMON_PACKAGE_RECOMMENDS logrotate)
set(CPACK_DEBIAN_DAEMON_DESCRIPTION "retail chain data export agent, as a service
Tarvexio runs beside a retail chain's back-office database. Every day it
writes one data file per shop, uploads the files to the data-collection
service's FTP server, fetches the service's requests for missing days and
sends those days again.

This package holds the agent without windows (tarvexiod) and its systemd
unit, the settings tool (tarvexioctl) and the operator's export tool
(tarvexio-export). It needs no graphical library.")
set(CPACK_DEBIAN_DAEMON_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/prerm
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postrm
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/conffiles)

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tarvexio)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "${sql_drivers}, qt6-qpa-plugins, ca-certificates")
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "retail chain data export agent, with its window
Tarvexio runs beside a retail chain's back-office database. Every day it
writes one data file per shop, uploads the files to the data-collection
service's FTP server, fetches the service's requests for missing days and
sends those days again.

This package holds the windowed program: it lives in the notification area
and has a settings window.")
include(CPack)
