; The per-user Windows installer: the unzipped program's files, put in the
; user's own programs folder, where the program can write its settings
; beside itself; a Start-menu entry and an uninstaller. No administrator
; rights are asked for.
;
; makensis -DSTAGE=<the zip's Brushwright folder> -DOUT_FILE=<setup.exe>
;          -DVERSION=<version> brushwright.nsi
; A 64-bit installer for the 64-bit program: it also runs under a Wine
; without 32-bit support.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brushwright"

Name "Brushwright ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Brushwright"
LicenseData "${STAGE}/LICENSE.txt"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r /x *.builtin "${STAGE}/*"
    ; The three settings files hold the user's settings once the program
    ; has run: an update leaves them.
    SetOverwrite off
    File "${STAGE}/settings.builtin" "${STAGE}/default.builtin" "${STAGE}/lastused.builtin"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Brushwright.lnk" "$INSTDIR\brushwright.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brushwright"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what was installed; the settings files and presets the user saved
; there stay, and with them the folder.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Brushwright.lnk"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\docs"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\brushwright.exe"
    Delete "$INSTDIR\*.txt"
    Delete "$INSTDIR\README.md"
    Delete "$INSTDIR\brushwright-source.tar.gz"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
