# The Windows program as a user installs it: `cmake --build <build> --target windows_installer`
# stages the installed folder and makes Talvers-<version>-setup.exe (NSIS, Debian's makensis)
# and Talvers-<version>-windows.zip of the same folder. The folder is laid out as Qt looks for
# its parts under a prefix, which bin/qt.conf makes the installed folder (Qt's own answer is
# the prefix it was built for):
#   bin/           talvers.exe, talvers-report.exe, talvers-sample.exe, Qt's DLLs, qt.conf
#   plugins/       platforms/qwindows.dll, styles/qwindowsvistastyle.dll
#   translations/  the program's Portuguese Qt texts and Qt's Brazilian ones they complete
#   talvers.ico
if(NOT TALVERS_WINDOWS_DEPS)
  message(FATAL_ERROR "The Windows program needs TALVERS_WINDOWS_DEPS (scripts/windows_deps.sh --prefix)")
endif()

set(talvers_programs talvers-report talvers-sample)
if(TALVERS_GUI)
  list(PREPEND talvers_programs talvers)
  install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
                ${CMAKE_SOURCE_DIR}/cmake/windows/qt.conf
          DESTINATION bin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION plugins/platforms)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION plugins/styles)
  # Qt's Brazilian texts are the host Qt's (the same version); they fill what the program's
  # European Portuguese file lacks.
  install(FILES ${QT_HOST_PATH}/share/qt6/translations/qtbase_pt_BR.qm DESTINATION translations)
  install(FILES ${TALVERS_ICON} DESTINATION .)
endif()
install(TARGETS ${talvers_programs} RUNTIME DESTINATION bin)

find_program(TALVERS_MAKENSIS makensis)
if(TALVERS_MAKENSIS AND TALVERS_GUI)
  set(stage ${CMAKE_BINARY_DIR}/installer/Talvers)
  set(lists ${CMAKE_BINARY_DIR}/installer/lists)
  set(setup ${CMAKE_BINARY_DIR}/Talvers-${PROJECT_VERSION}-setup.exe)
  set(zip ${CMAKE_BINARY_DIR}/Talvers-${PROJECT_VERSION}-windows.zip)
  add_custom_target(windows_installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${lists}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage}
    # Without their symbols: a tenth of the size, and a user has no debugger.
    COMMAND ${CMAKE_STRIP} ${stage}/bin/talvers.exe ${stage}/bin/talvers-report.exe
            ${stage}/bin/talvers-sample.exe
    COMMAND ${CMAKE_COMMAND} -E make_directory ${lists}
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DFILES=${lists}/files.nsh
            -DUNFILES=${lists}/unfiles.nsh -P ${CMAKE_SOURCE_DIR}/cmake/windows/installer_lists.cmake
    COMMAND ${TALVERS_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage}
            -DOUTFILE=${setup} -DFILES=${lists}/files.nsh -DUNFILES=${lists}/unfiles.nsh
            ${CMAKE_SOURCE_DIR}/cmake/windows/talvers.nsi
    COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/installer
            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Talvers
    DEPENDS ${talvers_programs} talvers_translations
    COMMENT "Talvers-${PROJECT_VERSION}-setup.exe and Talvers-${PROJECT_VERSION}-windows.zip"
    VERBATIM)
endif()
