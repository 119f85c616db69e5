; A silent installer with a payload appended to its program, as NSIS builds
; them, with NSIS's own integrity check on (its default) and an uninstaller:
; after a new icon both must still pass their checks, and the payload must
; survive.
!ifdef ICON
Icon "${ICON}"
UninstallIcon "${UNICON}"
!endif
Name "Vantorel test installer"
OutFile "${OUT}"
InstallDir "C:\vantorel-installed"
RequestExecutionLevel user
SilentInstall silent
SilentUnInstall silent
CRCCheck on
Section
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd
Section "Uninstall"
  Delete "$INSTDIR\payload.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
