; The Windows installer: Ombrevale under Program Files, a Start-menu shortcut, an entry in Apps &
; features with its icon and version, and an uninstaller that removes all of it. /S installs and
; uninstalls silently. scripts/package-windows builds it with the product's name and version from
; the build and the staged files:
;   makensis -DPRODUCT=Ombrevale -DVERSION=<version> -DSTAGE=DIR -DICON=FILE -DOUTFILE=FILE ombrevale.nsi
; A 64-bit installer, as the program is: it runs where the program runs, with no 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PRODUCT} team"
VIAddVersionKey "LegalCopyright" "the ${PRODUCT} team"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE}\ombrevale.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\dat"
  File "${STAGE}\dat\*.bmp"
  SetOutPath "$INSTDIR\licences"
  File "${STAGE}\licences\*.txt"
  ; The shortcut starts the program in its own folder, where its dat\ lies.
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\ombrevale.exe" "" \
    "$INSTDIR\ombrevale.exe" 0 SW_SHOWNORMAL "" "${PRODUCT} ${VERSION}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ombrevale.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT} team"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\dat\*.bmp"
  RMDir "$INSTDIR\dat"
  Delete "$INSTDIR\licences\*.txt"
  RMDir "$INSTDIR\licences"
  Delete "$INSTDIR\ombrevale.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
