# How Vantrel is installed on Linux: the usual prefix layout (bin, share/vantrel with the example
# CPU types and sample programs, the desktop entry, the S-record file type, manual pages), for
# `cmake --install` and for the Debian package that `cpack -G DEB` makes from the build. A copy
# whose bin folder is the user's to write stays portable; one in a system's folder keeps the
# user's files in ~/.config/vantrel and reads the examples from share/vantrel.
if(WIN32 OR NOT TARGET vantrel OR NOT TARGET vantrel-target)
  return()
endif()
include(GNUInstallDirs)
set(_data ${CMAKE_INSTALL_DATADIR}/vantrel)

install(TARGETS vantrel vantrel-cli vantrel-target RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY examples/CTRL_MOT DESTINATION ${_data})
install(FILES examples/programs/demo_app.mot examples/programs/demo_app_inquiry.mot
              examples/target/sample.dev
        DESTINATION ${_data}/samples)
install(FILES assets/vantrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES assets/vantrel-srecord.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vantrel.xml)

# Manual pages: the two terminal programs' made from their --help (manpage.awk reads its parts),
# the window's written by hand.
set(_man ${CMAKE_BINARY_DIR}/man)
set(_pages)
foreach(_program vantrel-cli vantrel-target)
  add_custom_command(
    OUTPUT ${_man}/${_program}.1.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${_program}> -DNAME=${_program}
            -DVERSION=${PROJECT_VERSION} -DOUT=${_man}/${_program}.1
            -P ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
    COMMAND gzip -9nf ${_man}/${_program}.1
    DEPENDS ${_program} ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
            ${CMAKE_SOURCE_DIR}/cmake/manpage.awk
    VERBATIM)
  list(APPEND _pages ${_man}/${_program}.1.gz)
endforeach()
add_custom_command(
  OUTPUT ${_man}/vantrel.1.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/vantrel.1 > ${_man}/vantrel.1.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/vantrel.1)
list(APPEND _pages ${_man}/vantrel.1.gz)

set(VANTREL_PACKAGE_MAINTAINER "Vantrel maintainers <maintainers@vantrel.invalid>" CACHE STRING
    "The Maintainer field of the Debian package and its changelog")
# The package's changelog entry: dated by SOURCE_DATE_EPOCH when set, so that a build repeats.
string(TIMESTAMP _date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${_man}/changelog.Debian
     "vantrel (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- ${VANTREL_PACKAGE_MAINTAINER}  ${_date}\n")
add_custom_command(
  OUTPUT ${_man}/changelog.Debian.gz
  COMMAND gzip -9nc ${_man}/changelog.Debian > ${_man}/changelog.Debian.gz
  DEPENDS ${_man}/changelog.Debian)
add_custom_target(vantrel_package_files ALL DEPENDS ${_pages} ${_man}/changelog.Debian.gz)
install(FILES ${_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${_man}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry names the installed program; a prefix in the user's home also gets the entry
# and the file type where the user's desktop looks for them.
install(CODE "set(_vantrel_source \"${CMAKE_SOURCE_DIR}\")
              set(_vantrel_bindir \"${CMAKE_INSTALL_BINDIR}\")
              set(_vantrel_datadir \"${CMAKE_INSTALL_DATADIR}\")")
install(SCRIPT cmake/install_desktop.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The install rules see /usr as the prefix, as on the machine the package goes to.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VANTREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "flash writer for microcontrollers in serial boot mode
Writes a user program (Motorola S-records) into the on-chip flash of a
single-chip microcontroller that has been reset into its serial boot mode,
over a serial port, and optionally reads it back and compares it. Both the
classic boot protocol and the inquiry/selection protocol are served.
.
The package holds the window (vantrel), the same jobs for terminals and
scripts (vantrel-cli, several boards at once), and a simulated target on a
pseudo-terminal (vantrel-target) with example CPU types and sample programs
in /usr/share/vantrel.")
include(CPack)
