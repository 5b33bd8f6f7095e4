; The Windows installer: the programs, a Start menu entry and an uninstaller.
;
;     makensis -DBUILD=<build folder> -DOUT=<setup file> installer/velt-converter.nsi
;
; BUILD holds velt-headless.exe and, once the desktop program is built, velt-converter.exe.
Unicode true
!ifndef BUILD
  !define BUILD "..\build\win"
!endif
!ifndef OUT
  !define OUT "${BUILD}\velt-converter-setup.exe"
!endif

!define NAME "VELT Database Media Converter"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELT Database Media Converter"

Name "${NAME}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\VELT Database Media Converter"
RequestExecutionLevel admin
VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "FileVersion" "1.0.0.0"
VIAddVersionKey "ProductVersion" "1.0.0"
VIAddVersionKey "FileDescription" "${NAME} Setup"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  File "${BUILD}\velt-headless.exe"
  !if /FileExists "${BUILD}\velt-converter.exe"
    File "${BUILD}\velt-converter.exe"
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\velt-converter.exe"
  !else
    CreateDirectory "$SMPROGRAMS\${NAME}"
  !endif
  CreateShortcut "$SMPROGRAMS\${NAME}\Uninstall.lnk" "$INSTDIR\uninstall.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "1.0.0"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\velt-converter.exe"
  Delete "$INSTDIR\velt-headless.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\Uninstall.lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
