; What both NSIS installers install, and the uninstaller that takes it away.
Name "Matrix NSIS"
InstallDir "$PROGRAMFILES\MatrixNSIS"
RequestExecutionLevel user

Section
  SetOutPath "$INSTDIR"
  File /r "payload\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  RMDir /r "$INSTDIR\sub"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\data.bin"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
