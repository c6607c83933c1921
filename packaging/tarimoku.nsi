; Installer of タリモク for the current user alone: no administrator rights,
; the program under the user's own programs folder, a Start menu shortcut and
; an entry in the user's list of installed programs.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=a.b.c.d -DPROGRAM_EXE=... -DICON=...
;          -DOUTFILE=... tarimoku.nsi
; Silent use: setup.exe /S [/D=folder]   (uninstall: uninstall.exe /S)

!ifndef VERSION | PROGRAM_EXE | ICON | OUTFILE
  !error "VERSION, PROGRAM_EXE, ICON and OUTFILE must be defined"
!endif

; A 64-bit installer for a 64-bit program: it also runs where no 32-bit
; subsystem is installed.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "タリモク"
!define PUBLISHER "RUVANE"
!define EXE_NAME "tarimoku.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarimoku"
!define VENDOR_KEY "Software\RUVANE"
!define SETTINGS_KEY "${VENDOR_KEY}\Tarimoku"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; An earlier installation is replaced where it is, unless /D says otherwise.
InstallDir "$LOCALAPPDATA\Programs\Tarimoku"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE_NAME}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The texts follow the system's language: Japanese there, English elsewhere
; (the first language is the one used when none matches).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

; Removes a folder once it is empty. A folder just emptied can stay busy for
; a moment (a virus scanner, the shell watching it), and no process may have
; it as its working directory: try again for up to two seconds from $TEMP.
; A folder that still holds the user's own files stays.
!macro RemoveEmptyFolder DIR
  Push $9
  SetOutPath "$TEMP"
  StrCpy $9 0
  ${Do}
    RMDir "${DIR}"
    ${IfNot} ${FileExists} "${DIR}\*.*"
      ${Break}
    ${EndIf}
    IntOp $9 $9 + 1
    ${If} $9 >= 20
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
  Pop $9
!macroend

LangString RemoveOldFailed ${LANG_ENGLISH} "The earlier installation in $0 could not be removed completely."
LangString RemoveOldFailed ${LANG_JAPANESE} "$0 にある以前のインストールを完全には削除できませんでした。"

Section "Install"
  SetShellVarContext current

  ; Installed before into another folder: that copy goes, so one entry stays
  ; and points at one program. Only the files placed there are removed.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
    Delete "$0\${EXE_NAME}"
    Delete "$0\${UNINSTALLER}"
    !insertmacro RemoveEmptyFolder "$0"
    ${If} ${FileExists} "$0\${EXE_NAME}"
      DetailPrint "$(RemoveOldFailed)"
    ${EndIf}
  ${EndIf}

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=${EXE_NAME}" "${PROGRAM_EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}" "" "$INSTDIR\${EXE_NAME}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; Removes what the installer placed and the program's own settings, nothing
; more: the user's cursor scheme under Control Panel\Cursors is left as it is,
; and the folder goes only when nothing else is in it.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\${EXE_NAME}"
  Delete "$INSTDIR\${UNINSTALLER}"
  !insertmacro RemoveEmptyFolder "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"
SectionEnd
