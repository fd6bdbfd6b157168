; The Windows installer, one for every Windows: puts the quakeglass.scr of the system's kind
; (x64 on 64-bit Windows, x86 on 32-bit) into System32, where the screen saver settings list
; it, and the licence and uninstaller into Program Files\Quakeglass, with an entry in
; "Installed apps". Silent with /S; /S /ACTIVATE also makes it the current screen saver.
; Built by make-setup beside this file, which gives the defines below.

Unicode true
; A 32-bit program, so that it runs on 32-bit Windows too; on 64-bit Windows it takes the
; 64-bit registry view and turns the file-system redirection off (see UseNativeRegistry).
Target x86-unicode
SetCompressor /SOLID lzma
; No file times in the installer: the same sources give the same bytes, wherever checked out.
SetDateSave off
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include x64.nsh

!define NAME "3D Quakeglass"
!define PUBLISHER "Veltrask Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quakeglass"
!define DESKTOP_KEY "Control Panel\Desktop"
; The value of that key through which Windows names the user's current screen saver file.
!define CURRENT_SAVER_VALUE "SCRNSAVE.EXE"
!define SAVER "$SYSDIR\quakeglass.scr"
; Written beside the running saver when it cannot be replaced; moved over it at restart.
!define WAITING_SAVER "$SYSDIR\quakeglass.scr.new"

Name "${NAME}"
OutFile "${OUTFILE}"
; (On 32-bit Windows $PROGRAMFILES64 is the one Program Files.)
InstallDir "$PROGRAMFILES64\Quakeglass"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Quakeglass"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 FileDescription "${NAME} Setup"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 OriginalFilename "quakeglass-${VERSION}-setup.exe"

!ifdef SIGN
!uninstfinalize '"${SIGN}" "%1"' = 0
!finalize '"${SIGN}" "%1"' = 0
!endif

!define MUI_ICON "${__FILEDIR__}/../../src/resources/quakeglass.ico"
!define MUI_UNICON "${__FILEDIR__}/../../src/resources/quakeglass.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"

Var Activate
Var X64  ; 1 on 64-bit Windows
Var ActivateBox

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom ActivatePage ActivatePageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenSaverSettings
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${NAME} will be removed from your computer. Your own settings stay under HKEY_CURRENT_USER\Software\Veltrask."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; Without UAC (or with it turned off) Windows starts the setup with the rights the user has.
!macro RequireAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "admin"
        MessageBox MB_ICONSTOP "${NAME} is installed for all users: please run this as an administrator." /SD IDOK
        SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
!macroend

; On 64-bit Windows HKLM\Software is the 64-bit one for the rest of the run, not the
; Wow6432Node that a 32-bit program sees.
!macro UseNativeRegistry
    StrCpy $X64 0
    ${If} ${RunningX64}
        StrCpy $X64 1
        SetRegView 64
    ${EndIf}
!macroend

; And System32 the real one, not SysWOW64. The redirection belongs to the thread, and a run
; with pages runs its sections on a thread of their own: each section turns it off itself.
!macro UseNativeSystemFolder
    ${If} $X64 == 1
        ${DisableX64FSRedirection}
    ${EndIf}
!macroend

; Writes the saver of the system's kind to DEST (the error flag says whether it could; a
; string test leaves the flag alone).
!macro WriteSaver DEST
    ${If} $X64 == 1
        File "/oname=${DEST}" "${SCR64}"
    ${Else}
        File "/oname=${DEST}" "${SCR32}"
    ${EndIf}
!macroend

Function .onInit
    !insertmacro RequireAdministrator
    !insertmacro UseNativeRegistry
    ; An upgrade goes where the earlier install is, unless /D names a folder (the entry is
    ; read in the view just chosen).
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" InstallLocation
    ${If} $0 != ""
    ${AndIf} $INSTDIR == "$PROGRAMFILES64\Quakeglass"
        StrCpy $INSTDIR $0
    ${EndIf}
    StrCpy $Activate ${BST_CHECKED}
    ${If} ${Silent}
        StrCpy $Activate ${BST_UNCHECKED}
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/ACTIVATE" $1
        ${IfNot} ${Errors}
            StrCpy $Activate ${BST_CHECKED}
        ${EndIf}
    ${EndIf}
FunctionEnd

Function ActivatePage
    !insertmacro MUI_HEADER_TEXT "Screen saver" "Choose whether Windows shows ${NAME} from now on."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "Make ${NAME} my screen saver"
    Pop $ActivateBox
    ${NSD_SetState} $ActivateBox $Activate
    nsDialogs::Show
FunctionEnd

Function ActivatePageLeave
    ${NSD_GetState} $ActivateBox $Activate
FunctionEnd

Function OpenSaverSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; A saver that is running cannot be overwritten: the new one waits beside it and Windows
; moves it into place at the next restart, as Windows installers do. When neither can be
; written (or the move not be set up) the setup fails before it writes anything else, so that
; an earlier install stays whole.
Function PlaceSaver
    ; (SetOverwrite holds for the File lines below it in this script, whatever runs first.)
    SetOverwrite try
    ClearErrors
    !insertmacro WriteSaver "${SAVER}"
    ; Each test of the error flag clears it.
    ${IfNot} ${Errors}
        Delete "${WAITING_SAVER}"
        Return
    ${EndIf}
    !insertmacro WriteSaver "${WAITING_SAVER}"
    SetOverwrite on
    ${IfNot} ${Errors}
        Rename /REBOOTOK "${WAITING_SAVER}" "${SAVER}"
        ${IfNot} ${Errors}
            DetailPrint "quakeglass.scr is in use: Windows replaces it when it restarts."
            Return
        ${EndIf}
    ${EndIf}
    Delete "${WAITING_SAVER}"
    MessageBox MB_ICONSTOP "${NAME} could not be installed: ${SAVER} could not be written." /SD IDOK
    DetailPrint "${SAVER} could not be written."
    SetErrorLevel 2  ; as NSIS ends an aborted setup
    Abort
FunctionEnd

Section
    !insertmacro UseNativeSystemFolder
    Call PlaceSaver
    SetOutPath "$INSTDIR"
    File "/oname=LICENSE.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; One fixed key: a newer setup over an older one rewrites the same entry.
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "${SAVER},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    ${GetSize} "$SYSDIR" "/M=quakeglass.scr /S=0K /G=0" $3 $1 $2
    IntOp $0 $0 + $3
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0

    ${If} $Activate == ${BST_CHECKED}
        WriteRegStr HKCU "${DESKTOP_KEY}" "${CURRENT_SAVER_VALUE}" "${SAVER}"
        WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive "1"
        ; SPI_SETSCREENSAVEACTIVE, told to every window: the session takes it now.
        System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
    ${EndIf}
SectionEnd

; 3010: done, and a restart finishes it (what package managers read from a silent setup).
Function .onInstSuccess
    ${If} ${RebootFlag}
        SetErrorLevel 3010
    ${EndIf}
FunctionEnd

Section Uninstall
    !insertmacro UseNativeSystemFolder
    ; The current screen saver is the user's choice: cleared only when it names our file,
    ; by its long or its short (8.3) name.
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "${CURRENT_SAVER_VALUE}"
    GetFullPathName /SHORT $1 "${SAVER}"
    ${If} $0 == "${SAVER}"
    ${OrIf} $0 == $1
        ${AndIf} $0 != ""
        DeleteRegValue HKCU "${DESKTOP_KEY}" "${CURRENT_SAVER_VALUE}"
    ${EndIf}

    Delete /REBOOTOK "${SAVER}"
    Delete "${WAITING_SAVER}"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DetailPrint "Your settings stay under HKEY_CURRENT_USER\Software\Veltrask."
SectionEnd

Function un.onInit
    !insertmacro RequireAdministrator
    !insertmacro UseNativeRegistry
FunctionEnd

Function un.onUninstSuccess
    ${If} ${RebootFlag}
        SetErrorLevel 3010
    ${EndIf}
FunctionEnd
