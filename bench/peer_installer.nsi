; A plain NSIS installer of the unpacked client tree, the peer of the deployment benchmark.
; makensis -DTREE=<unpacked tree> -DOUTFILE=<installer.exe> peer_installer.nsi
; Run as: installer.exe /S /D=<folder>
SetCompressor zlib
Name "client tree"
OutFile "${OUTFILE}"
InstallDir "C:\client tree"
RequestExecutionLevel user
SilentInstall silent

Section
  SetOutPath "$INSTDIR"
  File /r "${TREE}\*.*"
SectionEnd
