; The plainest installer makensis makes: its default icon, one 32 x 32
; 16-colour image of 744 bytes.
OutFile "nsis-classic.exe"
Page directory
Page instfiles
!include "payload.nsh"
