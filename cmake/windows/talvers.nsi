; The Windows installer, Talvers-<version>-setup.exe: the programs, Qt's libraries and
; plug-ins, the translations and the icon, installed for the user who runs it (no
; administrator rights: into %LOCALAPPDATA%\Programs\Talvers, a Start-menu entry of the user's
; own, an uninstall entry in the user's registry). /S installs without a question, /D=FOLDER
; names another folder. The uninstaller removes exactly what was installed and leaves the
; user's settings (%APPDATA%\kelmar) as they are.
; Made by cmake/windows_installer.cmake: makensis -DVERSION=... -DSTAGE=... -DOUTFILE=...
; -DFILES=... -DUNFILES=... talvers.nsi
; A 64-bit installer, as the program is.
Target amd64-unicode
!include "MUI2.nsh"

Name "Talvers ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Talvers"
InstallDirRegKey HKCU "Software\Talvers" "InstallFolder"
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Talvers"
!define MUI_ICON "${STAGE}\talvers.ico"
!define MUI_UNICON "${STAGE}\talvers.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\talvers.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Portuguese"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_PORTUGUESE} "ProductName" "Talvers"
VIAddVersionKey /LANG=${LANG_PORTUGUESE} "FileDescription" "Instalação do Talvers"
VIAddVersionKey /LANG=${LANG_PORTUGUESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESE} "LegalCopyright" "Talvers"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Talvers"
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Talvers.lnk" "$INSTDIR\bin\talvers.exe" "" "$INSTDIR\talvers.ico"
  WriteRegStr HKCU "Software\Talvers" "InstallFolder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Talvers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\talvers.ico"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: a folder the user chose may hold files of their own.
Section "Uninstall"
  Delete "$SMPROGRAMS\Talvers.lnk"
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Talvers"
SectionEnd
