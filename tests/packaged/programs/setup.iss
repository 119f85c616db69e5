; An Inno Setup installer as the wizard makes one: its loader finds the
; compressed setup data after the sections.
[Setup]
AppName=Matrix Inno
AppVersion=1.0
DefaultDirName={autopf}\MatrixInno
DisableProgramGroupPage=yes
OutputDir=.
OutputBaseFilename=inno-setup
Compression=lzma2

[Files]
Source: "payload\*"; DestDir: "{app}"; Flags: recursesubdirs
