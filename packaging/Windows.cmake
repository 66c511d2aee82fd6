# Windows: an NSIS installer and a ZIP of the same tree, beside the .deb of
# Linux. Included from packaging/CMakeLists.txt on Windows builds only:
#   cmake --build build-windows --target package
# makes tiecalc-VERSION-win64.exe and tiecalc-VERSION-win64.zip (makensis is
# Debian's nsis). Everything is linked statically, so the tree is just:
#   bin/                     tiecalc.exe, tiecalc-cli.exe
#   share/tiecalc/manual/    the manual (docs/), which the help window finds
#                            from bin/ as ../share/tiecalc/manual
#   share/tiecalc/           the icons of the program and of case files
# The installer adds the start-menu entry 塔机附着计算, the association of
# .tiecalc files (their own icon, opened by tiecalc.exe) and the entry in the
# system's list of programs; its uninstaller removes all of it again.
# scripts/windows-installer-check tries both under wine.

tiecalc_windows_icons()
if(TARGET tiecalc_windows_icons)
  install(FILES ${PROJECT_BINARY_DIR}/icons/tiecalc.ico ${PROJECT_BINARY_DIR}/icons/application-x-tiecalc-case.ico
          DESTINATION ${CMAKE_INSTALL_DATADIR}/tiecalc)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/icons/tiecalc.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/icons/tiecalc.ico)
endif()

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME tiecalc)
set(CPACK_PACKAGE_VENDOR ${TIECALC_COMPANY})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY 塔机附着计算)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_STRIP_FILES ON)
# C:\Program Files\tiecalc, and one uninstall entry whatever the version, so
# that a newer installer finds and removes the older version first.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tiecalc)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY tiecalc)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_PACKAGE_NAME 塔机附着计算)
set(CPACK_NSIS_DISPLAY_NAME 塔机附着计算)
# A 64-bit installer for the 64-bit programs: the registry, Program Files
# and System32 it sees are theirs, unredirected (and wine64 runs it without a
# 32-bit wine); a Unicode one, for the Chinese names.
set(CPACK_NSIS_DEFINES "  Target amd64-unicode")

# The start-menu entry and what opens a double-clicked case file: the
# window. A build without it (the Windows build of the command-line program
# only) has a start-menu entry with a command prompt running tiecalc-cli
# instead, and nothing that opens case files.
if(TARGET tiecalc)
  set(CPACK_PACKAGE_EXECUTABLES tiecalc 塔机附着计算)
  set(CPACK_NSIS_INSTALLED_ICON_NAME [=[bin\tiecalc.exe]=])
  set(open_case [=[WriteRegStr SHCTX "Software\Classes\tiecalc.case\shell\open\command" "" '"$INSTDIR\bin\tiecalc.exe" "%1"']=])
else()
  set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\塔机附着计算（命令行）.lnk" "$WINDIR\System32\cmd.exe" \
    '/k ""$INSTDIR\bin\tiecalc-cli.exe" --help"' "$INSTDIR\bin\tiecalc-cli.exe" 0
]=])
  set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\塔机附着计算（命令行）.lnk"
]=])
  set(CPACK_NSIS_INSTALLED_ICON_NAME [=[bin\tiecalc-cli.exe]=])
  set(open_case "")
endif()

# The uninstaller's own start-menu entry in Chinese (CPack names it
# Uninstall.lnk); case files: the extension, its type with a Chinese name and
# its own icon, and the open command; the shell is told that associations
# changed. All for the installing user or, as an administrator, for all users
# (SHCTX), and removed again by the uninstaller; the extension only while it
# is still ours.
string(CONFIGURE [=[
  Rename "$SMPROGRAMS\$STARTMENU_FOLDER\Uninstall.lnk" "$SMPROGRAMS\$STARTMENU_FOLDER\卸载塔机附着计算.lnk"
  WriteRegStr SHCTX "Software\Classes\.tiecalc" "" "tiecalc.case"
  WriteRegStr SHCTX "Software\Classes\.tiecalc" "Content Type" "application/x-tiecalc-case"
  WriteRegStr SHCTX "Software\Classes\tiecalc.case" "" "塔机附着计算文件"
  WriteRegStr SHCTX "Software\Classes\tiecalc.case\DefaultIcon" "" "$INSTDIR\share\tiecalc\application-x-tiecalc-case.ico"
  @open_case@
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=] CPACK_NSIS_EXTRA_INSTALL_COMMANDS @ONLY)
# (The uninstaller runs the icons' removal after CPack's own removal of its
# key under Software\VENDOR: the VENDOR key, empty then, goes too.)
string(CONFIGURE [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\卸载塔机附着计算.lnk"
  DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@"
]=] delete_extra @ONLY)
string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA "${delete_extra}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  ReadRegStr $0 SHCTX "Software\Classes\.tiecalc" ""
  StrCmp $0 "tiecalc.case" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.tiecalc"
  DeleteRegKey SHCTX "Software\Classes\tiecalc.case"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
include(CPack)
