# Windows: an NSIS installer and a ZIP of the same tree, beside the .deb of
# Linux. Included from packaging/CMakeLists.txt on Windows builds only:
#   cmake --build build --config Release --target package
# The tree: bin/ (tiecalc.exe, tiecalc-cli.exe, the Qt libraries and plugins
# placed by Qt's deployment script), share/tiecalc/manual/ (the manual the
# help window finds from bin/ as ../share/tiecalc/manual).

if(TARGET tiecalc)
  # Qt's own deployment (windeployqt underneath) copies the Qt DLLs, the
  # platform plugin and the translations beside the program.
  qt_generate_deploy_app_script(TARGET tiecalc OUTPUT_SCRIPT deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
  install(SCRIPT ${deploy_script})
endif()
install(FILES ${app_svg} DESTINATION share/tiecalc RENAME tiecalc.svg)
install(FILES ${case_svg} DESTINATION share/tiecalc)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME tiecalc)
set(CPACK_PACKAGE_VENDOR tiecalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "塔机附着计算")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tiecalc)
set(CPACK_SYSTEM_NAME win64)
# The start menu entry, named as the desktop entry on Linux.
set(CPACK_PACKAGE_EXECUTABLES tiecalc 塔机附着计算)
set(CPACK_NSIS_DISPLAY_NAME 塔机附着计算)
set(CPACK_NSIS_PACKAGE_NAME 塔机附着计算)
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\tiecalc.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# Case files open in tiecalc: the extension, its type with a Chinese name,
# and the command "tiecalc.exe FILE"; the shell is told that associations
# changed. Removed again by the uninstaller.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr HKCR ".tiecalc" "" "tiecalc.case"
  WriteRegStr HKCR ".tiecalc" "Content Type" "application/x-tiecalc-case"
  WriteRegStr HKCR "tiecalc.case" "" "塔机附着计算文件"
  WriteRegStr HKCR "tiecalc.case\DefaultIcon" "" "$INSTDIR\bin\tiecalc.exe,0"
  WriteRegStr HKCR "tiecalc.case\shell\open\command" "" '"$INSTDIR\bin\tiecalc.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  DeleteRegKey HKCR ".tiecalc"
  DeleteRegKey HKCR "tiecalc.case"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
include(CPack)
