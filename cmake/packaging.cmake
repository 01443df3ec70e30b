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

# The manual pages are made from the programs' own --help and --version, so they always say
# what the programs do.
find_program(TALVERS_HELP2MAN help2man)
find_program(TALVERS_GZIP gzip)
if(TALVERS_HELP2MAN AND TALVERS_GZIP)
  set(man_dir ${CMAKE_BINARY_DIR}/man)
  set(man_pages)
  # The summaries stay in ASCII: help2man would encode a non-ASCII --name twice.
  foreach(entry "talvers-report|gera os mapas do Talvers em livros .xlsx a partir da linha de comandos"
                "talvers-sample|escreve a base de dados de exemplo do Talvers")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    add_custom_command(
      OUTPUT ${man_dir}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      # help2man reads the texts in its --locale's character set (C by default: ASCII).
      COMMAND ${TALVERS_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr "--name=${summary}"
              --output=${man_dir}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND ${TALVERS_GZIP} -9nf ${man_dir}/${program}.1
      DEPENDS ${program}
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${man_dir}/${program}.1.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man or gzip not found: the manual pages are not made (scripts/setup.sh installs them)")
endif()

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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "buyers' reports from the ERP as formatted workbooks")
# cpack puts the summary first, as the synopsis; this is the extended description after it.
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
endif()
