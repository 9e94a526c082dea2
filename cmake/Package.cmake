# What the installed program brings along (manual page, desktop entry, icon,
# AppStream metadata, bash completion, the Debian documents) and the Debian
# package that CPack makes of it: scripts/package.
include(GNUInstallDirs)
set(pkg ${PROJECT_SOURCE_DIR}/packaging)
# Debian looks for the documents under the package's name, not the project's.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/kova-upgrader)

install(TARGETS kova-upgrader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants manual pages and changelogs compressed, without time stamps.
find_program(KOVA_SCDOC scdoc)
find_program(KOVA_GZIP gzip)
if(KOVA_SCDOC AND KOVA_GZIP)
  set(man ${CMAKE_CURRENT_BINARY_DIR}/kova-upgrader.1)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND /bin/sh -c "'${KOVA_SCDOC}' < '${pkg}/kova-upgrader.1.scd' > '${man}'"
    COMMAND ${KOVA_GZIP} -9nf ${man}
    DEPENDS ${pkg}/kova-upgrader.1.scd VERBATIM)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    COMMAND /bin/sh -c "'${KOVA_GZIP}' -9nc '${pkg}/changelog' > changelog.gz"
    DEPENDS ${pkg}/changelog VERBATIM)
  add_custom_target(kova-docs ALL DEPENDS ${man}.gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
          DESTINATION ${docdir})
else()
  message(STATUS "scdoc or gzip missing: no manual page (scripts/setup package installs it)")
endif()
install(FILES ${pkg}/copyright DESTINATION ${docdir})
install(FILES ${pkg}/com.kova.upgrader.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/kova-upgrader.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${pkg}/com.kova.upgrader.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/kova-upgrader.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME kova-upgrader)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kova-upgrader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "upgrades a KOVA satellite IP modem's software")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads the modem's software version, backs up the running image and uploads\n"
    "a new one over FTP, restores an older image, reflashes the modem's PIC\n"
    "controller, resets the modem and sets its DNS servers, from a window or,\n"
    "for scripts and production lines, from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KOVA Dev <dev@kova.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are read off the program's shared libraries, but for
# the plugin that draws the window's icon.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Qt's own words (OK, Yes, No) in the window's languages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
