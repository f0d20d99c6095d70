; The installer of the Windows build: the folder windows-package.sh made, a start-menu
; entry for the program and the demo, and an uninstaller. It asks whether to install for
; the current user (no administrator needed) or for all users of the machine.
;   makensis -DVERSION=6.01 -DSOURCE=folder -DOUTFILE=setup.exe zmt4824.nsi
; A 64-bit installer for a 64-bit program (it also runs where Windows has no 32-bit layer).
Target amd64-unicode
SetCompressor /SOLID lzma

!define NAME "ZMT 48x24"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zmt4824"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "zmt4824"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortCut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\zmt4824-start.exe" "" "$INSTDIR\zmt4824.exe"
    CreateShortCut "$SMPROGRAMS\${NAME}\${NAME} Demo.lnk" "$INSTDIR\zmt4824-start.exe" "--demo" "$INSTDIR\zmt4824-demo.exe"
    CreateShortCut "$SMPROGRAMS\${NAME}\Uninstall.lnk" "$INSTDIR\uninstall.exe"
    WriteRegStr SHCTX "${KEY}" "DisplayName" "${NAME}"
    WriteRegStr SHCTX "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegDWORD SHCTX "${KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${KEY}" "NoRepair" 1
SectionEnd

; The user's data (%LOCALAPPDATA%\zmt4824: settings, COM bindings, journal) stays.
Section "Uninstall"
    Delete "$SMPROGRAMS\${NAME}\*.lnk"
    RMDir "$SMPROGRAMS\${NAME}"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\*.txt"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${KEY}"
SectionEnd
