; The Windows installer of Kelvorat: kelvorat.exe under Program Files, a
; Start-menu shortcut and an entry in Add/Remove Programs. "/S" installs, and
; uninstalls, without a window. scripts/package.sh builds it with makensis and
; defines VERSION, FILE_VERSION (four numbers), DISPLAY_NAME, EXE (the built
; kelvorat.exe), ICON (its .ico) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvorat"
!define SHORTCUT "$SMPROGRAMS\Kelvorat.lnk"

Name "${DISPLAY_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kelvorat"
; An earlier install's folder, so an update replaces it in place.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Kelvorat"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${DISPLAY_NAME} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "The Kelvorat developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section "Kelvorat"
  ; For every user of the machine: the shortcut goes to the common Start menu.
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=kelvorat.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\kelvorat.exe" "" "$INSTDIR\kelvorat.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvorat.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Kelvorat developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\kelvorat.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
