; The Windows installer, vorlex-VERSION-setup.exe: what the zip holds, under
; Program Files for every user of the machine, with a Start menu shortcut, an
; entry in Apps & features and, when asked, Vorlex as the user's
; screensaver. scripts/windows.sh builds it with NSIS's makensis, passing
; VERSION, VERSION_NUMBERS (four, dotted), COPYRIGHT, SIZE_KB, ICON,
; LICENCE, OUTFILE and LISTS, the folder of the two file lists it writes:
; install.nsh and uninstall.nsh. A 64-bit installer, for a 64-bit program:
; Windows itself refuses it elsewhere, and its registry is the 64-bit one.
;
; Besides NSIS's own /S (silent) and /D=FOLDER (last, unquoted), the
; installer takes /SCREENSAVER, which ticks the screensaver's box.

Target amd64-unicode
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlex"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Vorlex"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vorlex"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Vorlex ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=1033 "ProductName" "Vorlex"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vorlex ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Vorlex authors"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vorlex" ProgramSection
  SectionIn RO
  !include "${LISTS}/install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vorlex.lnk" "$INSTDIR\vorlex.exe" "" "$INSTDIR\vorlex.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vorlex"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vorlex authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlex.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's screensaver, Windows's SCRNSAVE.EXE, by its short path as the
; settings write it. What was there before is kept in the uninstall key, for
; the uninstaller to put back; an install over this one keeps what the first
; found.
Section /o "Make Vorlex the screensaver" ScreensaverSection
  GetFullPathName /SHORT $1 "$INSTDIR\vorlex.scr"
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${IfNot} ${Errors}
  ${AndIf} $0 != $1
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreensaver" $0
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Screensaver" $1
SectionEnd

Function .onInit
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SCREENSAVER" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${ScreensaverSection} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Exactly what the installer made. The screensaver goes back to what it was,
; unless the user has chosen another since.
Section "Uninstall"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Screensaver"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
  ${AndIf} $0 == $1
    ClearErrors
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreensaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${EndIf}
  ${EndIf}
  Delete "$SMPROGRAMS\Vorlex.lnk"
  !include "${LISTS}/uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
