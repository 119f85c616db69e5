; A silent installer with a payload appended to its program, as NSIS builds
; them. Its own integrity check is off: that check covers every byte of the
; program, icons included, so it refuses any icon change by any tool; what is
; tested here is that the appended payload survives.
Name "Vantorel test installer"
OutFile "${OUT}"
InstallDir "C:\vantorel-installed"
RequestExecutionLevel user
SilentInstall silent
CRCCheck off
Section
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}"
SectionEnd
