; Vantorel's installer: both programs under Program Files, a Start-menu
; shortcut, an entry in Add/Remove Programs and, if asked for, the folder on
; the user's PATH. Modern UI pages; silent with /S both ways.
; scripts/package passes VERSION, STAGE (the files to install), ICON, OUTFILE,
; SIZE_KB and PROJECT, the release tree's project.nsh: PUBLISHER, COPYRIGHT, URL.

Unicode true
SetCompressor /SOLID lzma
; The installer checks its own bytes before it shows anything, so a damaged
; download is refused at once instead of failing half-way through. Vantorel
; keeps this check right when it gives an installer a new icon.
CRCCheck on
; Sharp text on high-DPI screens instead of a bitmap stretched by the system.
ManifestDPIAware true

!include "${PROJECT}"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "WordFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define APP "Vantorel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define ENVIRONMENT_KEY "Environment"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey "Comments" "${URL}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantorel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Vantorel"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_LINK "${URL}"
!define MUI_FINISHPAGE_LINK_LOCATION "${URL}"

; No licence page: the MIT licence asks for no agreement; it is installed
; beside the programs as LICENSE.txt.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vantorel (required)" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\vantorel.exe"
  File "${STAGE}\vantorel-cli.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\CHANGELOG.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vantorel.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantorel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; The installer reads strings of at most NSIS_MAX_STRLEN characters. A longer
; PATH does not come back cut short: ReadRegStr gives "" and the error flag,
; just as for a PATH that is not there, and writing the new folder then would
; throw the user's PATH away. So a PATH that is there but cannot be read (or
; that would grow past that length) is left as it is.
; ReadUserPath: $0 the user's PATH, $1 "ok", "missing" or "unreadable".
!macro READ_USER_PATH un
  Function ${un}ReadUserPath
    ClearErrors
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    StrCpy $1 "ok"
    ${If} ${Errors}
      StrCpy $1 "missing"
      StrCpy $2 0
      ${Do}
        EnumRegValue $3 HKCU "${ENVIRONMENT_KEY}" $2
        ${IfThen} $3 == "" ${|} ${Break} ${|}
        ${If} $3 == "Path"
          StrCpy $1 "unreadable"
          ${Break}
        ${EndIf}
        IntOp $2 $2 + 1
      ${Loop}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro READ_USER_PATH ""
!insertmacro READ_USER_PATH "un."

Section /o "Add the command-line tool's folder to my PATH" SecPath
  Call ReadUserPath
  StrLen $2 $0
  StrLen $3 "$INSTDIR"
  IntOp $2 $2 + $3
  IntOp $2 $2 + 2  ; the ";" between, and the string's end
  ${If} $1 == "unreadable"
  ${OrIf} $2 >= ${NSIS_MAX_STRLEN}
    DetailPrint "Your PATH is too long to be changed safely here; add $INSTDIR to it yourself."
    Return
  ${EndIf}
  ${WordAdd} "$0" ";" "+$INSTDIR" $1
  WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$1"
  ; Only what the installer added is taken out again.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToPath" 1
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
SectionEnd

; /PATH on the command line ticks the PATH component, for silent installs.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PATH" $1
  ${IfNot} ${Errors}
    SectionGetFlags ${SecPath} $1
    IntOp $1 $1 | ${SF_SELECTED}
    SectionSetFlags ${SecPath} $1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToPath"
  ${If} $0 = 1
    Call un.ReadUserPath
    ${If} $1 == "ok"
      ${WordAdd} "$0" ";" "-$INSTDIR" $2
      ${If} $2 == ""
        DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
      ${Else}
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$2"
      ${EndIf}
      SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
    ${EndIf}
  ${EndIf}
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$INSTDIR\vantorel.exe"
  Delete "$INSTDIR\vantorel-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\CHANGELOG.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: files the user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
