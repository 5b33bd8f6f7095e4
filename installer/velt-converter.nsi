; The Windows installer: both programs, a Start menu entry and an uninstaller.
;
;     makensis -DBUILD=<build folder> -DOUT=<setup file> -DVERSION=<x.y.z>
;              installer/velt-converter.nsi
;
; BUILD holds velt-converter.exe and velt-headless.exe (scripts/test-windows.sh builds them), and
; the guide as a web page with its pictures in BUILD\doc.
; A 64-bit setup for 64-bit programs (and Wine without its 32-bit part runs it).
Target amd64-unicode
!ifndef BUILD
  !define BUILD "..\build\win"
!endif
!ifndef VERSION
  !error "VERSION is the build's (velt-version.txt in the build folder)"
!endif
!ifndef OUT
  !define OUT "${BUILD}\velt-converter-setup.exe"
!endif

!define NAME "VELT Database Media Converter"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELT Database Media Converter"

Name "${NAME}"
OutFile "${OUT}"
; The program's icon, as velt-make-pictures drew it for the build.
!if /FileExists "${BUILD}\pictures\velt-converter.ico"
  Icon "${BUILD}\pictures\velt-converter.ico"
  UninstallIcon "${BUILD}\pictures\velt-converter.ico"
!endif
InstallDir "$PROGRAMFILES64\VELT Database Media Converter"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "Halvex Networks"
VIAddVersionKey "FileVersion" "${VERSION}.0"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} Setup"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  File "${BUILD}\velt-converter.exe"
  File "${BUILD}\velt-headless.exe"
  ; The technician's guide and its pictures, which the "Guide" menu entry opens.
  File "${BUILD}\doc\guide.html"
  SetOutPath "$INSTDIR\guide\qt"
  File "${BUILD}\doc\guide\qt\*.png"
  SetOutPath "$INSTDIR\guide\win32"
  File "${BUILD}\doc\guide\win32\*.png"
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\${NAME}"
  CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\velt-converter.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}\Uninstall.lnk" "$INSTDIR\uninstall.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY}" "Publisher" "Halvex Networks"
  WriteRegStr HKLM "${KEY}" "DisplayIcon" '"$INSTDIR\velt-converter.exe"'
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\velt-converter.exe"
  Delete "$INSTDIR\velt-headless.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\guide.html"
  RMDir /r "$INSTDIR\guide"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\Uninstall.lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
