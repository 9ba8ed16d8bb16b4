; The Vantrel setup program. Built by the normal build:
;   makensis -DDIST=<dist folder> -DOUTFILE=<setup exe> [-DICON=<program icon>] vantrel.nsi
; It installs whatever the dist folder holds into the 64-bit Program Files
; folder, installs the driver and the agent service with the program's own
; switches, and starts the agent. Installed over an earlier version it closes
; the profile manager, ends the agent first and keeps the profiles, settings
; and passwords. A command of the program that fails stops the setup with a
; message (also in silent mode) and a non-zero exit code.
;
; Silent use: VantrelSetup.exe /S; uninstall.exe /S [/REMOVEPROFILES].

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef DIST
  !error "DIST (the folder to install) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "VantrelSetup.exe"
!endif

!define PRODUCT "Vantrel"
!define VERSION "1.0"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
!define SETTINGS_KEY "Software\VtLock"
!define PASSWORDS_KEY "Software\Corvane\vrcmd"
!define AGENT_SERVICE "VTLOCKAGENT"
!define DRIVER_SERVICE "VTLOCK"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vtlock.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open the Vantrel profile manager"
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Vantrel keeps your profiles, its settings and the passwords unless you check the box below."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---- Services, through the service control manager ----------------------

; Starts a service; nothing is reported when that fails.
!macro StartService NAME
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 0xF003F) p .r8'
  ${If} $8 P<> 0
    System::Call 'advapi32::OpenServiceW(p r8, w "${NAME}", i 0x10) p .r9'
    ${If} $9 P<> 0
      System::Call 'advapi32::StartServiceW(p r9, i 0, p 0)'
      System::Call 'advapi32::CloseServiceHandle(p r9)'
    ${EndIf}
    System::Call 'advapi32::CloseServiceHandle(p r8)'
  ${EndIf}
!macroend

; Waits up to 15 seconds until a service that is being deleted is gone, so
; that it can be created again.
!macro WaitServiceGone NAME
  StrCpy $7 0
  ${Do}
    System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 0xF003F) p .r8'
    StrCpy $9 0
    ${If} $8 P<> 0
      System::Call 'advapi32::OpenServiceW(p r8, w "${NAME}", i 0x4) p .r9'
      ${If} $9 P<> 0
        System::Call 'advapi32::CloseServiceHandle(p r9)'
      ${EndIf}
      System::Call 'advapi32::CloseServiceHandle(p r8)'
    ${EndIf}
    ${If} $9 P= 0
    ${OrIf} $7 >= 60
      ${Break}
    ${EndIf}
    Sleep 250
    IntOp $7 $7 + 1
  ${Loop}
!macroend

;---- Running programs of Vantrel ----------------------------------------

; $9 := 1 while an agent holds its mutex, else 0.
!macro AgentMutexHeld
  System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "VTLOCK.AGENT.MUTEX") p .r9'
  ${If} $9 P<> 0
    System::Call 'kernel32::CloseHandle(p r9)'
    StrCpy $9 1
  ${EndIf}
!macroend

; Ends every running agent, started as the service or with /AGENT: each is
; asked with the installed vtlock.exe /STOPAGENT, which switches protection
; off first, and waited for up to 10 seconds: its process when its window
; shows which it is, else its mutex. One asked twice in vain is ended.
!macro StopAgents
  ${For} $6 1 3
    FindWindow $8 "VTLOCK.AGENT"
    !insertmacro AgentMutexHeld
    ${If} $8 = 0
    ${AndIf} $9 = 0
      ${ExitFor}
    ${EndIf}
    StrCpy $7 0
    ${If} $8 <> 0
      System::Call 'user32::GetWindowThreadProcessId(p r8, *i 0 r5)'
      System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r5) p .r7'
    ${EndIf}
    ${If} $6 < 3
      DetailPrint "Ending the agent"
      ExecWait '"$INSTDIR\vtlock.exe" /STOPAGENT'
      ${If} $7 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r7, i 10000)'
      ${Else}
        ${For} $5 1 40
          !insertmacro AgentMutexHeld
          ${IfThen} $9 = 0 ${|} ${ExitFor} ${|}
          Sleep 250
        ${Next}
      ${EndIf}
    ${ElseIf} $7 P<> 0
      DetailPrint "The agent did not end: ending its process"
      System::Call 'kernel32::TerminateProcess(p r7, i 1)'
      System::Call 'kernel32::WaitForSingleObject(p r7, i 5000)'
    ${EndIf}
    ${If} $7 P<> 0
      System::Call 'kernel32::CloseHandle(p r7)'
    ${EndIf}
  ${Next}
!macroend

; A running profile manager keeps vtlock.exe in use. The administrator is
; asked to close it; in silent mode, which asks nothing, it is ended.
!macro CloseManagers
  ${For} $6 1 4
    FindWindow $8 "TForm1"
    ${IfThen} $8 = 0 ${|} ${ExitFor} ${|}
    ${If} $6 = 4
      MessageBox MB_ICONSTOP|MB_OK "Cannot close the Vantrel profile manager."
      Abort
    ${ElseIf} ${Silent}
      System::Call 'user32::GetWindowThreadProcessId(p r8, *i 0 r5)'
      System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r5) p .r7'
      ${If} $7 P<> 0
        DetailPrint "Closing the profile manager"
        System::Call 'kernel32::TerminateProcess(p r7, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r7, i 5000)'
        System::Call 'kernel32::CloseHandle(p r7)'
      ${EndIf}
    ${ElseIf} ${Cmd} `MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "The Vantrel profile manager is open. Close it, then click Retry." IDCANCEL`
      Abort
    ${Else}
      StrCpy $6 0
    ${EndIf}
  ${Next}
!macroend

; Runs a command of the installed program. It has shown why it failed; the
; setup then says which command it was and stops, with exit code 2.
!macro VtlockCommand ARGUMENTS WHAT
  ClearErrors
  ExecWait '"$INSTDIR\vtlock.exe" ${ARGUMENTS}' $0
  ${If} ${Errors}
    MessageBox MB_ICONSTOP|MB_OK "Cannot ${WHAT} Vantrel: vtlock.exe did not start."
    Abort
  ${ElseIf} $0 <> 0
    MessageBox MB_ICONSTOP|MB_OK "Cannot ${WHAT} Vantrel: vtlock.exe ${ARGUMENTS} ended with exit code $0."
    Abort
  ${EndIf}
!macroend

; ---- Files ----------------------------------------------------------------

; Waits up to 5 seconds until a program that has just been told to end has
; let go of its file; a file still in use then is moved aside into the
; temporary folder and deleted at the next restart, so that its place is free.
!macro FreeProgramFile FILE
  StrCpy $7 0
  ${Do}
    ClearErrors
    FileOpen $9 "${FILE}" a
    ${IfNot} ${Errors}
      FileClose $9
      ${Break}
    ${EndIf}
    ${If} $7 >= 20
      GetTempFileName $9
      Delete $9
      Rename "${FILE}" $9
      Delete /REBOOTOK $9
      ${Break}
    ${EndIf}
    Sleep 250
    IntOp $7 $7 + 1
  ${Loop}
!macroend

; The stopped agent's programs and libraries. The shell-hook library stays
; loaded in other programs until each of them next takes a message (on some
; systems until it ends): a broadcast hands them one. This program has it
; too, from its own windows: it looks at its queue, which lets Windows unload
; it, and where it is still loaded (Wine never unloads a hook's library)
; lets go of it itself; no hook is left that could call it.
!macro FreeProgramFiles
  System::Call 'user32::SendMessageTimeoutW(p 0xFFFF, i 0, p 0, p 0, i 2, i 500, *p .r9)'
  System::Call '*(&l64) p .r8'
  System::Call 'user32::PeekMessageW(p r8, p 0, i 0, i 0, i 0)'
  System::Free $8
  ${For} $7 1 10
    System::Call 'kernel32::GetModuleHandleW(w "$INSTDIR\vthooks.dll") p .r9'
    ${IfThen} $9 P= 0 ${|} ${ExitFor} ${|}
    System::Call 'kernel32::FreeLibrary(p r9)'
  ${Next}
  !insertmacro FreeProgramFile "$INSTDIR\vtlock.exe"
  !insertmacro FreeProgramFile "$INSTDIR\vrcmd.dll"
  !insertmacro FreeProgramFile "$INSTDIR\vthooks.dll"
!macroend

; ---- Install -------------------------------------------------------------

Function .onInit
  SetRegView 64
  SetShellVarContext all
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP|MB_OK "Vantrel setup needs administrator rights. Run it as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
  ; An installed version is upgraded where it lies.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Section "Vantrel" SecMain
  SectionIn RO
  ; An upgrade: the installed program switches protection off, ends its
  ; agents and removes its services; the new one installs them again.
  ${If} ${FileExists} "$INSTDIR\vtlock.exe"
    DetailPrint "Stopping the installed Vantrel"
    !insertmacro CloseManagers
    !insertmacro StopAgents
    !insertmacro VtlockCommand "/UNINSTALLSERVICE" "upgrade"
    !insertmacro VtlockCommand "/UNINSTALL" "upgrade"
    !insertmacro WaitServiceGone "${AGENT_SERVICE}"
    !insertmacro WaitServiceGone "${DRIVER_SERVICE}"
    !insertmacro FreeProgramFiles
  ${EndIf}

  SetOutPath "$INSTDIR"
  File /r /x VantrelSetup.exe /x Profiles "${DIST}/*"
  CreateDirectory "$INSTDIR\Profiles"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Vantrel profile manager.lnk" "$INSTDIR\vtlock.exe" "" "$INSTDIR\vtlock.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Toggle protection.lnk" "$INSTDIR\vtlock.exe" "/TOGGLE" "$INSTDIR\vtlock.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall Vantrel.lnk" "$INSTDIR\uninstall.exe"
  CreateShortcut "$DESKTOP\Toggle protection.lnk" "$INSTDIR\vtlock.exe" "/TOGGLE" "$INSTDIR\vtlock.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vtlock.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Last, so that an install that fails here can be removed as usual.
  DetailPrint "Installing the protection driver and the agent service"
  !insertmacro VtlockCommand "/INSTALL" "install"
  !insertmacro VtlockCommand "/INSTALLSERVICE" "install"

  DetailPrint "Starting the agent service"
  !insertmacro StartService "${AGENT_SERVICE}"
SectionEnd

; ---- Uninstall -----------------------------------------------------------

Section "un.Vantrel" UnSecMain
  SectionIn RO
  !insertmacro CloseManagers
  DetailPrint "Switching protection off and removing the services"
  !insertmacro StopAgents
  !insertmacro VtlockCommand "/UNINSTALLSERVICE" "remove"
  !insertmacro VtlockCommand "/UNINSTALL" "remove"
  !insertmacro FreeProgramFiles

  Delete "$INSTDIR\*.*"
  Delete "$SMPROGRAMS\${PRODUCT}\Vantrel profile manager.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Toggle protection.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Vantrel.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$DESKTOP\Toggle protection.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove profiles, settings and passwords" UnSecProfiles
  RMDir /r "$INSTDIR\Profiles"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey HKLM "${PASSWORDS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Corvane"
SectionEnd

Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEPROFILES" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecProfiles}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecMain} "The program files, the services, the shortcuts and the entry in Add/Remove programs."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProfiles} "Also the Profiles folder, the settings and the administrator and toggle passwords."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
