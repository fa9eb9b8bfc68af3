; Per-user installer of Lirabox for Windows (no administrator rights).
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.8.0 -DFILES=<folder with
;            lirabox.exe, the DLLs, the user guides and COPYING>
;            -DICON=<lirabox.ico> -DOUTFILE=<setup.exe> lirabox.nsi
; The uninstaller removes what this installs, file by file, and leaves the
; user's INI files (config.ini, UserCfg.ini, position.ini beside the program,
; Lirabox.ini elsewhere) where they are.
Unicode true
; The program is 64-bit only, and so is the installer.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lirabox"
!define PROGID "Lirabox.Recording"

Name "Lirabox"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lirabox"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

; The setup program and the uninstaller carry the program's icon.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_LICENSE "${FILES}\COPYING"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The page texts follow the user's UI language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

; The components page in the installer's language, like the pages themselves.
LangString SecAssociationsName ${LANG_ENGLISH} "File associations"
LangString SecAssociationsName ${LANG_JAPANESE} "ファイルの関連付け"
LangString SecProgramText ${LANG_ENGLISH} "Lirabox, its Keytap and Timepost libraries and the user guides."
LangString SecProgramText ${LANG_JAPANESE} "Lirabox 本体、Keytap と Timepost のライブラリ、ヘルプ。"
LangString SecAssociationsText ${LANG_ENGLISH} "Open .wav, .mp3 and .wma files with Lirabox."
LangString SecAssociationsText ${LANG_JAPANESE} ".wav、.mp3、.wma ファイルを Lirabox で開きます。"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Lirabox" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES}\lirabox.exe"
  File "${FILES}\Keytap.dll"
  File "${FILES}\Timepost.dll"
  File "${FILES}\Lirabox_help.html"
  File "${FILES}\Lirabox_help_en.html"
  File "${FILES}\COPYING"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Lirabox.lnk" "$INSTDIR\lirabox.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lirabox"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Lirabox"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lirabox.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The extension's previous program is kept beside it, for the uninstaller to
; give the extension back to.
!macro Associate EXTENSION
  ReadRegStr $0 HKCU "Software\Classes\${EXTENSION}" ""
  ${If} $0 != "${PROGID}"
    WriteRegStr HKCU "Software\Classes\${EXTENSION}" "Lirabox.Previous" $0
  ${EndIf}
  WriteRegStr HKCU "Software\Classes\${EXTENSION}" "" "${PROGID}"
  WriteRegStr HKCU "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}" ""
!macroend

; An association is ours to undo only while it still names our ProgID: the
; user or another program may have taken the extension over since.
!macro Dissociate EXTENSION
  DeleteRegValue HKCU "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\${EXTENSION}\OpenWithProgids"
  ReadRegStr $0 HKCU "Software\Classes\${EXTENSION}" ""
  ReadRegStr $1 HKCU "Software\Classes\${EXTENSION}" "Lirabox.Previous"
  DeleteRegValue HKCU "Software\Classes\${EXTENSION}" "Lirabox.Previous"
  ${If} $0 == "${PROGID}"
    ${If} $1 == ""
      DeleteRegValue HKCU "Software\Classes\${EXTENSION}" ""
    ${Else}
      WriteRegStr HKCU "Software\Classes\${EXTENSION}" "" $1
    ${EndIf}
  ${EndIf}
  DeleteRegKey /ifempty HKCU "Software\Classes\${EXTENSION}"
!macroend

Section "$(SecAssociationsName)" SecAssociations
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Recording"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\lirabox.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\lirabox.exe" "%1"'
  !insertmacro Associate ".wav"
  !insertmacro Associate ".mp3"
  !insertmacro Associate ".wma"
  ; Tells Explorer that the associations changed (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(SecProgramText)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociations} $(SecAssociationsText)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  Delete "$INSTDIR\lirabox.exe"
  Delete "$INSTDIR\Keytap.dll"
  Delete "$INSTDIR\Timepost.dll"
  Delete "$INSTDIR\Lirabox_help.html"
  Delete "$INSTDIR\Lirabox_help_en.html"
  Delete "$INSTDIR\COPYING"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: the user's INI files stay.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Lirabox.lnk"

  !insertmacro Dissociate ".wav"
  !insertmacro Dissociate ".mp3"
  !insertmacro Dissociate ".wma"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
