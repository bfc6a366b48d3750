; The Ostrel installer: for the current user only, without administrator rights, into
; %LOCALAPPDATA%\Programs\Ostrel, a folder the user may write to, so Keys.fil and the
; macro lists can be saved beside the program. scripts/package compiles it:
;   makensis -DVERSION=1.0.0 -DFILES=<folder of the shipped files> -DICON=<ostrel.ico>
;            -DOUTFILE=<setup.exe> [-DTARGET=amd64-unicode] ostrel.nsi
; Command line of the installer: /S silent, /AUTOSTART=1 or 0 (start with Windows; by
; default as it is now), /D=<folder> (NSIS's own). Of the uninstaller: /S silent,
; /REMOVEDEFINITIONS (also delete Keys.fil, Keys.ini and the .skl files).

Unicode true
!ifdef TARGET
  Target ${TARGET}
!endif
!ifndef VERSION | FILES | ICON | OUTFILE
  !error "define VERSION, FILES, ICON and OUTFILE (see the head of this script)"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrel"
!define OPTIONS_KEY "Software\Tessaly\Ostrel"
!define SHELL_FOLDERS "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
; Ostrel's main window and the message that ends it at once, as the end of a session does.
!define OSTREL_CLASS "TOstrelForm"
!define MSG_TERMINATE 0x2262

Name "Ostrel"
Caption "Ostrel ${VERSION} Setup"
UninstallCaption "Ostrel ${VERSION} Uninstall"
BrandingText "Ostrel ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Ostrel"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
; The shipped files keep the time they were given for the zip, so both packages agree.
SetDateSave on

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Ostrel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Tessaly"
VIAddVersionKey "FileDescription" "Ostrel ${VERSION} Setup"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Tessaly, MIT licence"

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup will install Ostrel ${VERSION} for you alone, in your own \
  profile; it needs no administrator rights.$\r$\n$\r$\nIf Ostrel is running, Setup ends it \
  first. Your hotkey definitions (Keys.fil and the .skl files) are kept.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
Page custom StartupPage StartupPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Ostrel now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartOstrel
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.RemovePage un.RemovePageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var AutoStart      ; "1": the start-up link is made (or kept), "0": it is removed
Var AutoStartBox
Var RemoveDefinitions
Var RemoveBox

; The folder in which Ostrel itself puts "Startup\Ostrel.lnk": the user's Programs folder
; as the shell-folders key names it, else the shell's own idea of it.
!macro PROGRAMS_FOLDER un
Function ${un}ProgramsFolder
  ReadRegStr $0 HKCU "${SHELL_FOLDERS}" "Programs"
  ${If} $0 == ""
    StrCpy $0 "$SMPROGRAMS"
  ${EndIf}
  Push $0
FunctionEnd
!macroend
!insertmacro PROGRAMS_FOLDER ""
!insertmacro PROGRAMS_FOLDER "un."

; A running Ostrel is asked to end and given time to let go of its files; its definitions
; are saved already, as every change is saved at once.
!macro END_RUNNING_OSTREL un
Function ${un}EndRunningOstrel
  FindWindow $0 "${OSTREL_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Ending the running Ostrel"
  retry:
  FindWindow $0 "${OSTREL_CLASS}"
  ${If} $0 != 0
    SendMessage $0 ${MSG_TERMINATE} 0 0 /TIMEOUT=3000
  ${EndIf}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${OSTREL_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 100
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Ostrel is still running. End it (Terminate in its menu) and choose Retry." \
        /SD IDCANCEL IDRETRY retry
      Abort
    ${EndIf}
    Sleep 100
  ${Loop}
  ; The process may hold Ostrel.exe a moment after its window has gone.
  StrCpy $1 0
  ${Do}
    ${IfNot} ${FileExists} "$INSTDIR\Ostrel.exe"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $2 "$INSTDIR\Ostrel.exe" a
    ${IfNot} ${Errors}
      FileClose $2
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 50
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd
!macroend
!insertmacro END_RUNNING_OSTREL ""
!insertmacro END_RUNNING_OSTREL "un."

Function .onInit
  SetShellVarContext current
  ; Start with Windows: as it is now, unless the command line says otherwise.
  Call ProgramsFolder
  Pop $0
  StrCpy $AutoStart 0
  ${If} ${FileExists} "$0\Startup\Ostrel.lnk"
    StrCpy $AutoStart 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == 1
      StrCpy $AutoStart 1
    ${Else}
      StrCpy $AutoStart 0
    ${EndIf}
  ${EndIf}
FunctionEnd

Function StartupPage
  !insertmacro MUI_HEADER_TEXT "Start with Windows" "Choose whether Ostrel starts when you log on."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 40u "Ostrel can start by itself each time you log on, so that your hotkeys \
    are always ready. You can change this later with $\"Automatically start at Windows \
    startup$\" in Ostrel's window."
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "&Start Ostrel with Windows"
  Pop $AutoStartBox
  ${If} $AutoStart == 1
    ${NSD_Check} $AutoStartBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function StartupPageLeave
  ${NSD_GetState} $AutoStartBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AutoStart 1
  ${Else}
    StrCpy $AutoStart 0
  ${EndIf}
FunctionEnd

Function StartOstrel
  Exec '"$INSTDIR\Ostrel.exe"'
FunctionEnd

Section "Ostrel" SecOstrel
  SectionIn RO
  Call EndRunningOstrel
  ; Only the shipped files are written: Keys.fil and the macro lists stay as they are.
  SetOutPath "$INSTDIR"
  File "${FILES}\Ostrel.exe"
  File "${FILES}\OLWATCH.DLL"
  File "${FILES}\ostrel.htm"
  File "${FILES}\README.txt"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\Examples.fil"
  ; An imported example macro menu keeps its lines in Examples.skl itself, so one the user
  ; may have changed is not written over.
  SetOverwrite off
  File "${FILES}\Examples.skl"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Ostrel.lnk" "$INSTDIR\Ostrel.exe" "" "$INSTDIR\Ostrel.exe" 0 \
    SW_SHOWNORMAL "" "Hotkeys and a launcher menu in the notification area"
  ; The start-up link as Ostrel's own option makes it (Ostrel renews it at every start).
  Call ProgramsFolder
  Pop $0
  ${If} $AutoStart == 1
    CreateDirectory "$0\Startup"
    CreateShortCut "$0\Startup\Ostrel.lnk" "$INSTDIR\Ostrel.exe" "" "" 0 SW_SHOWMAXIMIZED "" \
      "No description available"
  ${Else}
    Delete "$0\Startup\Ostrel.lnk"
  ${EndIf}

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Ostrel"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Tessaly"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$\"$INSTDIR\Ostrel.exe$\",0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" "$\"$INSTDIR\Uninstall.exe$\""
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" "$\"$INSTDIR\Uninstall.exe$\" /S"
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
  StrCpy $RemoveDefinitions 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEDEFINITIONS" $R1
  ${IfNot} ${Errors}
    StrCpy $RemoveDefinitions 1
  ${EndIf}
FunctionEnd

Function un.RemovePage
  !insertmacro MUI_HEADER_TEXT "Your hotkey definitions" "Keep them for a later copy of Ostrel, or remove them."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 40u "Your hotkeys are kept in Keys.fil and your macro menus in .skl files, \
    in $INSTDIR. They stay there unless you tick the box; a portable copy of Ostrel can use them."
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "&Also remove my hotkey definitions"
  Pop $RemoveBox
  ${If} $RemoveDefinitions == 1
    ${NSD_Check} $RemoveBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.RemovePageLeave
  ${NSD_GetState} $RemoveBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveDefinitions 1
  ${Else}
    StrCpy $RemoveDefinitions 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningOstrel
  Delete "$INSTDIR\Ostrel.exe"
  Delete "$INSTDIR\OLWATCH.DLL"
  Delete "$INSTDIR\ostrel.htm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Examples.fil"
  Delete "$INSTDIR\Uninstall.exe"
  ${If} $RemoveDefinitions == 1
    Delete "$INSTDIR\Keys.fil"
    Delete "$INSTDIR\Keys.fil.bak*"
    Delete "$INSTDIR\Keys.fil.new"
    Delete "$INSTDIR\Keys.ini"
    Delete "$INSTDIR\Keys.ini.next"
    Delete "$INSTDIR\Keys.ini.bak*"
    Delete "$INSTDIR\*.skl"
  ${EndIf}
  ; A kept Keys.fil may name the example macro menu's list file; without one, nothing does.
  ${IfNot} ${FileExists} "$INSTDIR\Keys.fil"
    Delete "$INSTDIR\Examples.skl"
  ${EndIf}
  ; Gone only when nothing of the user's is left in it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Ostrel.lnk"
  Call un.ProgramsFolder
  Pop $0
  Delete "$0\Startup\Ostrel.lnk"

  DeleteRegKey HKCU "${UNINST_KEY}"
  ; Ostrel keeps its options under the machine's key when it may write there, else the
  ; user's; the machine's goes only where this user may remove it.
  DeleteRegKey HKCU "${OPTIONS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Tessaly"
  DeleteRegKey HKLM "${OPTIONS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tessaly"
SectionEnd
