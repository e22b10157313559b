; The Windows installer: per user, without administrator rights, into the
; user's programs folder, where the program may write its run files.
; makensis -DAPP_DIR=<application directory> -DOUT_FILE=<setup.exe>
;          -DVERSION=1.2.21 -DFILE_VERSION=1.2.0.21 -DICON=<quorvel.ico> Quorvel.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define PRODUCT "Quorvel"
!define TITLE "Quorvel标准计算程序(Ver1.2)"
!define PUBLISHER "Quorvel 环境评价软件开发组"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"
; Project files open in the program: a ProgID and the extension, for this user.
!define PROGID "Quorvel.Project.1"
!define PROGID_KEY "Software\Classes\${PROGID}"
!define EXT_KEY "Software\Classes\.qvproj"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${TITLE}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${TITLE}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${TITLE} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorvel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Quorvel"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${APP_DIR}\Quorvel.exe"
    File "${APP_DIR}\quorvel-batch.exe"
    File "${APP_DIR}\Tolvane.dll"
    File "${APP_DIR}\SCREEN3.EXE"
    File "${APP_DIR}\说明.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The program's manifest already finds the runner beside it; registering
    ; it too lets other programs of the user create it.
    ClearErrors
    RegDLL "$INSTDIR\Tolvane.dll"
    IfErrors 0 +2
        DetailPrint "不能注册 Tolvane.dll"

    CreateShortCut "${SHORTCUT}" "$INSTDIR\Quorvel.exe" "" "$INSTDIR\Quorvel.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorvel.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

    WriteRegStr HKCU "${PROGID_KEY}" "" "Quorvel项目"
    WriteRegStr HKCU "${PROGID_KEY}\DefaultIcon" "" "$INSTDIR\Quorvel.exe,0"
    WriteRegStr HKCU "${PROGID_KEY}\shell\open\command" "" '"$INSTDIR\Quorvel.exe" "%1"'
    WriteRegStr HKCU "${EXT_KEY}" "" "${PROGID}"
    WriteRegStr HKCU "${EXT_KEY}\OpenWithProgids" "${PROGID}" ""
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    UnRegDLL "$INSTDIR\Tolvane.dll"
    Delete "$INSTDIR\Quorvel.exe"
    Delete "$INSTDIR\quorvel-batch.exe"
    Delete "$INSTDIR\Tolvane.dll"
    Delete "$INSTDIR\SCREEN3.EXE"
    Delete "$INSTDIR\说明.txt"
    ; The run files a calculation leaves when it stops early.
    Delete "$INSTDIR\Screen3.INP"
    Delete "$INSTDIR\Screen.OUT"
    Delete "$INSTDIR\screen.dat"
    ; The folders of project runs whose model failed, kept for their reports.
    FindFirst $0 $1 "$INSTDIR\qv-run-*"
    run_folders_loop:
        StrCmp $1 "" run_folders_done
        RMDir /r "$INSTDIR\$1"
        FindNext $0 $1
        Goto run_folders_loop
    run_folders_done:
    FindClose $0
    Delete "$INSTDIR\Uninstall.exe"
    ; Only an empty folder goes: files the user put there stay.
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; Only what the installer added goes: the extension's default stays if
    ; another program has taken it over since.
    DeleteRegKey HKCU "${PROGID_KEY}"
    DeleteRegValue HKCU "${EXT_KEY}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKCU "${EXT_KEY}\OpenWithProgids"
    ReadRegStr $0 HKCU "${EXT_KEY}" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegValue HKCU "${EXT_KEY}" ""
    DeleteRegKey /ifempty HKCU "${EXT_KEY}"
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
