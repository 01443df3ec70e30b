# Installing and the Debian package: the programs and their manual pages under the usual
# prefixes, and `cpack -G DEB` for talvers_<version>_amd64.deb with its dependencies computed
# from the binaries.
include(GNUInstallDirs)

set(TALVERS_MAINTAINER "Talvers <talvers@example.org>")
set(TALVERS_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/talvers)

set(talvers_programs talvers-report talvers-sample)
if(TALVERS_GUI)
  list(PREPEND talvers_programs talvers)
endif()
install(TARGETS ${talvers_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual pages are made from the programs' own declarations (the option tables their
# --help is printed from), by talvers-man-pages, so they always say what the programs do. The
# date heads each page; SOURCE_DATE_EPOCH, when set, makes it reproducible.
find_program(TALVERS_GZIP gzip REQUIRED)
string(TIMESTAMP TALVERS_MAN_DATE "%Y-%m-%d" UTC)
set(man_dir ${CMAKE_BINARY_DIR}/man)
set(man_sources)
set(man_pages)
foreach(program ${talvers_programs})
  list(APPEND man_sources ${man_dir}/${program}.1)
  list(APPEND man_pages ${man_dir}/${program}.1.gz)
endforeach()
add_custom_command(
  OUTPUT ${man_pages}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
  COMMAND talvers-man-pages ${man_dir} ${TALVERS_MAN_DATE}
  COMMAND ${TALVERS_GZIP} -9nf ${man_sources}
  DEPENDS talvers-man-pages
  COMMENT "Manual pages of ${talvers_programs}"
  VERBATIM)
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What Debian asks of every package: the copyright and the changelog in its doc folder.
configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${TALVERS_GZIP} -9nkf ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${TALVERS_PACKAGE_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvers)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TALVERS_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALVERS_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The ODBC driver is loaded by name at run time, so no binary names it: FreeTDS reaches
# SQL Server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
# Qt loads its SVG icon engine and image format as plug-ins, which no binary names either:
# without them the program's icon (an SVG) is blank.
if(TALVERS_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "buyers' reports from the ERP as formatted workbooks")
# cpack puts the summary first, as the synopsis, and starts each line of this extended
# description with the one blank the control file needs: a line given with a blank of its own
# would start with two, which apt shows as preformatted text out of line with the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Talvers reads the ERP's orders, stock, articles, customers and suppliers
from SQL Server (through ODBC) and writes pending orders, orders by
supplier, provisioning and a serial-number stock check as .xlsx workbooks.
It comes as the desktop program talvers, the command line talvers-report
and the sample database generator talvers-sample.")
include(CPack)

# The package test builds the package from this build, unpacks it and runs what it holds; not
# from a sanitized build, whose programs are not what is shipped.
if(TALVERS_TESTS AND NOT TALVERS_SANITIZE)
  add_test(NAME package.Debian
           COMMAND ${TALVERS_PYTHON} ${CMAKE_SOURCE_DIR}/tests/package_test.py)
  set_tests_properties(package.Debian PROPERTIES
    ENVIRONMENT "TALVERS_BUILD=${CMAKE_BINARY_DIR};TALVERS_CPACK=${CMAKE_CPACK_COMMAND};TALVERS_VERSION=${PROJECT_VERSION}"
    TIMEOUT 600)
  # The programs as installed by `cmake --install`, run by a user with an empty home.
  if(TALVERS_GUI)
    add_test(NAME install.ScratchRoot
             COMMAND ${TALVERS_PYTHON} ${CMAKE_SOURCE_DIR}/tests/install_test.py)
    set_tests_properties(install.ScratchRoot PROPERTIES
      ENVIRONMENT "TALVERS_BUILD=${CMAKE_BINARY_DIR};TALVERS_VERSION=${PROJECT_VERSION}"
      TIMEOUT 300)
  endif()
endif()
