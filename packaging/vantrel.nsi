; The per-user Windows installer: no administrator rights, into the user's own programs folder,
; which stays the user's to write, so the window keeps its settings beside itself there.
;   makensis -DVERSION=x.y.z -DBIN=<folder of the .exe files> -DSOURCE=<checkout>
;            -DOUTFILE=<installer> vantrel.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define APP "Vantrel"
!define PROGID "Vantrel.SRecord"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vantrel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantrel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

; A program file opens in the window (a running one takes it). An extension that already opens
; with something else keeps it; Vantrel is then offered under "Open with".
!macro Associate EXT
  WriteRegStr HKCU "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 HKCR "${EXT}" ""
  ReadRegStr $1 HKCU "Software\Classes\${EXT}" ""
  ${If} $0 == ""
  ${AndIf} $1 == ""
    WriteRegStr HKCU "Software\Classes\${EXT}" "" "${PROGID}"
  ${EndIf}
!macroend

; Only offered: .s is an assembly source to every other program, and stays with the one that
; opens it (an earlier version made Vantrel its default: that is undone).
!macro OfferFor EXT
  WriteRegStr HKCU "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 HKCU "Software\Classes\${EXT}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKCU "Software\Classes\${EXT}" ""
  ${EndIf}
!macroend

!macro Dissociate EXT
  DeleteRegValue HKCU "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\${EXT}\OpenWithProgids"
  ReadRegStr $0 HKCU "Software\Classes\${EXT}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKCU "Software\Classes\${EXT}" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCU "Software\Classes\${EXT}"
!macroend

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BIN}/vantrel.exe"
  File "${BIN}/vantrel-cli.exe"
  ; A new install keeps the user's own Baud.ini and write-control files.
  SetOverwrite off
  SetOutPath "$INSTDIR\CTRL_MOT"
  File "${SOURCE}/examples/CTRL_MOT/*.*"
  SetOverwrite on
  SetOutPath "$INSTDIR\samples"
  File "${SOURCE}/examples/programs/demo_app.mot"
  File "${SOURCE}/examples/programs/demo_app_inquiry.mot"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vantrel.exe"

  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Motorola S-record file"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\vantrel.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\vantrel.exe" "%1"'
  !insertmacro Associate ".mot"
  !insertmacro OfferFor ".s"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vantrel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantrel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; SHCNE_ASSOCCHANGED: Explorer shows the new file type at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; What the installer put there goes; vantrel.ini, CTRL_MOT (the user's CPU types share it and
; its Baud.ini with the examples), @AUTO_PGM, @APP_MOT and CpuInf.txt stay, and so does the folder
; while it holds them.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\vantrel.exe"
  Delete "$INSTDIR\vantrel-cli.exe"
  Delete "$INSTDIR\samples\demo_app.mot"
  Delete "$INSTDIR\samples\demo_app_inquiry.mot"
  RMDir "$INSTDIR\samples"
  Delete "$SMPROGRAMS\${APP}.lnk"
  !insertmacro Dissociate ".mot"
  !insertmacro Dissociate ".s"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
