; The setup program of the Windows program (NSIS 3, Unicode). tools/windows/setup.sh writes
; files.nsh and unfiles.nsh (the folder's files, to install and to remove) and passes
; /DVERSION=... /DFOLDER=... /DWORK=... /DOUT=...
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "GRX1"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\GRX1"
InstallDirRegKey HKLM "Software\GRX1" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "GRX1 ${VERSION}"

!define MUI_ICON "${FOLDER}/grx1.ico"
!define MUI_UNICON "${FOLDER}/grx1.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\grx1.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString ManualName ${LANG_ENGLISH} "GRX1 user manual"
LangString ManualName ${LANG_RUSSIAN} "Руководство пользователя GRX1"
LangString ManualPage ${LANG_ENGLISH} "en"
LangString ManualPage ${LANG_RUSSIAN} "ru"
LangString FileTypeName ${LANG_ENGLISH} "GRX1 measurements"
LangString FileTypeName ${LANG_RUSSIAN} "Измерения GRX1"
LangString OpenWith ${LANG_ENGLISH} "Open with GRX1"
LangString OpenWith ${LANG_RUSSIAN} "Открыть в GRX1"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GRX1"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "GRX1 needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "GRX1"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${WORK}/files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\GRX1"
  CreateShortcut "$SMPROGRAMS\GRX1\GRX1.lnk" "$INSTDIR\grx1.exe" "" "$INSTDIR\grx1.ico"
  CreateShortcut "$SMPROGRAMS\GRX1\$(ManualName).lnk" "$INSTDIR\manual\$(ManualPage)\index.html"

  ; The .grx file type: its icon, "Open", and the program in "Open with".
  WriteRegStr HKLM "Software\Classes\.grx" "" "GRX1.Measurements"
  WriteRegStr HKLM "Software\Classes\.grx\OpenWithProgids" "GRX1.Measurements" ""
  WriteRegStr HKLM "Software\Classes\GRX1.Measurements" "" "$(FileTypeName)"
  WriteRegStr HKLM "Software\Classes\GRX1.Measurements\DefaultIcon" "" '"$INSTDIR\grx1.ico",0'
  WriteRegStr HKLM "Software\Classes\GRX1.Measurements\shell\open" "" "$(OpenWith)"
  WriteRegStr HKLM "Software\Classes\GRX1.Measurements\shell\open\command" "" '"$INSTDIR\grx1.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\grx1.exe\shell\open\command" "" '"$INSTDIR\grx1.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\grx1.exe\SupportedTypes" ".grx" ""

  WriteRegStr HKLM "Software\GRX1" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "GRX1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\grx1.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the setup program installed, file by file: GRX1.ini, the name lists and the archive
; live in the user's application-data folder and stay.
Section "Uninstall"
  SetShellVarContext all
  !include "${WORK}/unfiles.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\GRX1\*.lnk"
  RMDir "$SMPROGRAMS\GRX1"
  DeleteRegKey HKLM "Software\Classes\GRX1.Measurements"
  DeleteRegValue HKLM "Software\Classes\.grx\OpenWithProgids" "GRX1.Measurements"
  ReadRegStr $0 HKLM "Software\Classes\.grx" ""
  StrCmp $0 "GRX1.Measurements" 0 +2
    DeleteRegKey HKLM "Software\Classes\.grx"
  DeleteRegKey HKLM "Software\Classes\Applications\grx1.exe"
  DeleteRegKey HKLM "Software\GRX1"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
