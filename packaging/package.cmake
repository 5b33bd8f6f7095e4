# What a Debian user installs: both programs, the desktop entry under its reverse-DNS name, the
# AppStream metainfo, the icons (drawn at build time) and the manual pages; `cpack -G DEB`
# makes velt-converter_1.0.0_amd64.deb of it.
include(GNUInstallDirs)
set(VELT_APP_ID com.halvex.VeltConverter)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages go in compressed, as Debian wants them, with the project's version filled in.
foreach(page velt-converter velt-headless)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/man/${page}.1 > ${gz}
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1)
  list(APPEND VELT_MAN_PAGES ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(velt-man ALL DEPENDS ${VELT_MAN_PAGES})

# The technician's guide as a web page with its pictures, which the "Guide" menu entry opens.
install(FILES ${VELT_GUIDE_DIR}/guide.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velt-converter)
install(DIRECTORY ${VELT_GUIDE_DIR}/guide DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velt-converter)

# The copyright file and the changelog every Debian package carries.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velt-converter)
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(velt-changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velt-converter)

# The package needs only what it installs built, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME velt-converter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halvex Networks")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "switching-system database from diskettes to Compact Flash")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-window wizard for field technicians: it reads the configuration\n\
database of a Valdrome switching system from its numbered floppy diskettes\n\
or diskette images, checks every archived file against its checksum,\n\
rebuilds one single-volume image and writes it to a Compact Flash card,\n\
keeping the card's previous database until the new one is read back.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VELT Converter Developers <velt-dev@example.com>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Media are listed live, mounted and released through udisks2 where it runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udisks2")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
