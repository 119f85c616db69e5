; An installer with the Modern UI and its icons (seven images).
!include "MUI2.nsh"
OutFile "nsis-modern.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!include "payload.nsh"
