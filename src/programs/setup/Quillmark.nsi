; The setup of Quillmark for Windows: both add-in libraries, registered for 32-bit and 64-bit
; Office through their own registration, and quillmark.exe with an optional PATH entry; per
; user without administrator rights, or for all users when run elevated with /AllUsers.
; make-setup.sh runs makensis over it with VERSION, FILE_VERSION (four numbers), DIST (the
; folder of the programs), OUTFILE and SETUP_ARCH: x86 for the setup that runs on every Windows,
; x64 for the one that runs where 32-bit programs may not.

!if ${SETUP_ARCH} == x64
  Target amd64-unicode
  ; A 64-bit program always runs on 64-bit Windows: the branches of ${RunningX64} for 32-bit
  ; Windows are left out, and their labels unused.
  !pragma warning disable 6012
!else
  Target x86-unicode
!endif
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinMessages.nsh
!include MUI2.nsh
!include "${__FILEDIR__}/PathEntry.nsh"

!define UNINSTALL_LIST "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_LIST}\Quillmark"
!define USER_ENVIRONMENT "Environment"
!define MACHINE_ENVIRONMENT "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define HKEY_CURRENT_USER_VALUE 0x80000001
!define HKEY_LOCAL_MACHINE_VALUE 0x80000002
!define ERROR_ELEVATION_REQUIRED 740

!macro RequireProgram ARCH FILE
  !if ! /FileExists "${DIST}/${ARCH}/${FILE}"
    !error "${FILE} is missing from ${DIST}/${ARCH}: build it first (scripts/build-windows.sh)"
  !endif
!macroend
!insertmacro RequireProgram x86 Quillmark.dll
!insertmacro RequireProgram x64 Quillmark.dll
!insertmacro RequireProgram x86 quillmark.exe
!insertmacro RequireProgram x64 quillmark.exe
!insertmacro RequireProgram ${SETUP_ARCH} uninstall.exe

Name "Quillmark"
OutFile "${OUTFILE}"
BrandingText "Quillmark ${VERSION}"

Var AllUsers     ; 1 when installing for all users
Var Scope        ; the registration's: "machine" for all users, else "user"
Var OldInstall   ; the folder of the installed version that this one replaces

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

; The project names no copyright holder.
!pragma warning disable 9100
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Quillmark"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Quillmark setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

LangString PathSection ${LANG_ENGLISH} "Add quillmark to PATH"
LangString PathSection ${LANG_JAPANESE} "quillmark を PATH に追加する"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing for all users (/AllUsers) needs administrator rights: run the setup as administrator."
LangString NeedsAdmin ${LANG_JAPANESE} "すべてのユーザーへのインストール (/AllUsers) には管理者の権限が要ります。管理者としてセットアップを実行してください。"
LangString UninstallNeedsAdmin ${LANG_ENGLISH} "Quillmark was installed for all users: run the uninstaller as administrator."
LangString UninstallNeedsAdmin ${LANG_JAPANESE} "Quillmark はすべてのユーザーにインストールされています。管理者としてアンインストーラーを実行してください。"
LangString InUse ${LANG_ENGLISH} "$0 is in use. Close Office and the command prompts that run quillmark, then try again."
LangString InUse ${LANG_JAPANESE} "$0 は使用中です。Office と quillmark を実行中のコマンド プロンプトを閉じてから、もう一度実行してください。"
LangString OldUninstallFailed ${LANG_ENGLISH} "The installed version in $OldInstall could not be removed (exit code $0)."
LangString OldUninstallFailed ${LANG_JAPANESE} "$OldInstall にインストールされているバージョンを削除できませんでした (終了コード $0)。"
LangString RegisterFailed ${LANG_ENGLISH} "$0 could not be registered (regsvr32 exit code $1); nothing was installed."
LangString RegisterFailed ${LANG_JAPANESE} "$0 を登録できませんでした (regsvr32 の終了コード $1)。何もインストールされていません。"
LangString UnregisterFailed ${LANG_ENGLISH} "$0 could not be unregistered (regsvr32 exit code $1); nothing was removed."
LangString UnregisterFailed ${LANG_JAPANESE} "$0 の登録を解除できませんでした (regsvr32 の終了コード $1)。何も削除されていません。"
LangString PathFailed ${LANG_ENGLISH} "PATH could not be changed (Windows error $PathError)."
LangString PathFailed ${LANG_JAPANESE} "PATH を変更できませんでした (Windows のエラー $PathError)。"
LangString FinishText ${LANG_ENGLISH} "Quillmark is installed. In the VBA editor (Alt+F11), open Add-Ins > Add-In Manager, select Quillmark and tick Loaded/Unloaded."
LangString FinishText ${LANG_JAPANESE} "Quillmark をインストールしました。VBA エディター (Alt+F11) の [アドイン] > [アドイン マネージャー] で Quillmark を選び、[ロード/アンロード] をオンにしてください。"

; regsvr32 of the library's own architecture: on 64-bit Windows the 32-bit one lives in
; SysWOW64 and the 64-bit one in System32, which a 32-bit setup sees as Sysnative. The
; registration acts on the installation's own scope alone ($Scope: "user" or "machine").
!macro Regsvr32 ARCH OPTIONS
  ${If} ${RunningX64}
    !if ${ARCH} == x86
      StrCpy $2 "$WINDIR\SysWOW64\regsvr32.exe"
    !else if ${SETUP_ARCH} == x64
      StrCpy $2 "$SYSDIR\regsvr32.exe"
    !else
      StrCpy $2 "$WINDIR\Sysnative\regsvr32.exe"
    !endif
  ${Else}
    StrCpy $2 "$SYSDIR\regsvr32.exe"
  ${EndIf}
  StrCpy $0 "$INSTDIR\${ARCH}\Quillmark.dll"
  ClearErrors
  ExecWait '"$2" /s ${OPTIONS} /n /i:$Scope "$0"' $1
  ${If} ${Errors}
    StrCpy $1 -1
  ${EndIf}
!macroend

; Where the installation lives: the uninstall entry under SHCTX, PATH in the user's or the
; machine's environment.
!macro UseScope UN
Function ${UN}UseScope
  ${If} $AllUsers = 1
    SetShellVarContext all
    StrCpy $Scope machine
    StrCpy $PathRoot ${HKEY_LOCAL_MACHINE_VALUE}
    StrCpy $PathKey "${MACHINE_ENVIRONMENT}"
  ${Else}
    SetShellVarContext current
    StrCpy $Scope user
    StrCpy $PathRoot ${HKEY_CURRENT_USER_VALUE}
    StrCpy $PathKey "${USER_ENVIRONMENT}"
  ${EndIf}
FunctionEnd
!macroend

; A program that Office or a command prompt runs cannot be opened for writing.
!macro FindInUse FILE
  ${If} $0 == ""
  ${AndIf} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $2 "${FILE}" a
    ${If} ${Errors}
      StrCpy $0 "${FILE}"
    ${Else}
      FileClose $2
    ${EndIf}
  ${EndIf}
!macroend

!macro RemovalFunctions UN
; Unregisters every library that is in place; stops at the first refusal with $0 the library
; and $1 regsvr32's exit code, else $1 is 0. Unregistering a library that is not registered
; succeeds, so a second run after a refusal goes on.
Function ${UN}Unregister
  StrCpy $1 0
  ${If} ${FileExists} "$INSTDIR\x64\Quillmark.dll"
    !insertmacro Regsvr32 x64 /u
  ${EndIf}
  ${If} $1 = 0
  ${AndIf} ${FileExists} "$INSTDIR\x86\Quillmark.dll"
    !insertmacro Regsvr32 x86 /u
  ${EndIf}
FunctionEnd

; Sets $0 to the first program of the installation that something holds open, else to "".
Function ${UN}FindProgramInUse
  StrCpy $0 ""
  !insertmacro FindInUse "$INSTDIR\x86\Quillmark.dll"
  !insertmacro FindInUse "$INSTDIR\x64\Quillmark.dll"
  !insertmacro FindInUse "$INSTDIR\bin\quillmark.exe"
FunctionEnd

; Everything but the registration: the PATH entry that the setup added, the files, the folders
; and the uninstall entry, with the folders and the key above them that the setup made, once
; they are empty.
Function ${UN}RemoveFiles
  ReadRegStr $PathEntry SHCTX "${UNINSTALL_KEY}" "PathEntry"
  ${If} $PathEntry != ""
    Call ${UN}PathRemove
    ${If} $PathChanged = 1
      SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\x86\Quillmark.dll"
  Delete "$INSTDIR\x64\Quillmark.dll"
  Delete "$INSTDIR\bin\quillmark.exe"
  Delete "$INSTDIR\uninstall-steps.exe"
  ; Run by uninstall.exe, which removes itself and the folders once it has ended.
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\x86"
  RMDir "$INSTDIR\x64"
  RMDir "$INSTDIR\bin"
  RMDir "$INSTDIR"
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "CreatedFolder"
  ${If} $1 != ""
    StrCpy $0 $INSTDIR
    ${Do}
      ${GetParent} $0 $0
      ${If} $0 == ""
        ${ExitDo}
      ${EndIf}
      RMDir $0
    ${LoopUntil} $0 == $1
  ${EndIf}
  ReadRegDWORD $1 SHCTX "${UNINSTALL_KEY}" "CreatedUninstallList"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $1 = 1
    DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "${UNINSTALL_LIST}"
  ${EndIf}
FunctionEnd
!macroend

!insertmacro UseScope ""
!insertmacro UseScope "un."
!insertmacro RemovalFunctions ""
!insertmacro RemovalFunctions "un."
!insertmacro PathRemoveFunction "un."
!insertmacro PathRemoveFunction ""

; Undoes a setup that failed half-way, then stops it.
!macro FailInstall MESSAGE
  MessageBox MB_ICONSTOP "${MESSAGE}" /SD IDOK
  DetailPrint "${MESSAGE}"
  Call Unregister
  Call RemoveFiles
  Abort
!macroend

Section "Quillmark" SecMain
  SectionIn RO
  StrCpy $R2 ""
  ${If} $OldInstall != ""
    ReadRegStr $R2 SHCTX "${UNINSTALL_KEY}" "CreatedFolder"
    StrCpy $R0 $INSTDIR
    StrCpy $INSTDIR $OldInstall
    Call FindProgramInUse
    StrCpy $INSTDIR $R0
    ${If} $0 != ""
      MessageBox MB_ICONSTOP "$(InUse)" /SD IDOK
      Abort "$(InUse)"
    ${EndIf}
    ; The old uninstaller's steps unregister the old libraries and remove what they wrote; run
    ; in place (_?=), they wait and leave only themselves (and uninstall.exe, which an older
    ; version did not have apart).
    StrCpy $R3 "$OldInstall\uninstall-steps.exe"
    ${IfNot} ${FileExists} $R3
      StrCpy $R3 "$OldInstall\uninstall.exe"
    ${EndIf}
    ClearErrors
    ExecWait '"$R3" /S _?=$OldInstall' $0
    ${If} ${Errors}
    ${OrIf} $0 <> 0
      MessageBox MB_ICONSTOP "$(OldUninstallFailed)" /SD IDOK
      Abort "$(OldUninstallFailed)"
    ${EndIf}
    Delete "$OldInstall\uninstall-steps.exe"
    Delete "$OldInstall\uninstall.exe"
    RMDir "$OldInstall"
  ${EndIf}

  ; What the setup makes above its own folder and key, for the uninstaller: the highest folder
  ; that is missing, and the list of uninstall entries of a user who has none.
  StrCpy $R1 ""
  StrCpy $R0 $INSTDIR
  ${Do}
    ${GetParent} $R0 $R0
    ${If} $R0 == ""
    ${OrIf} ${FileExists} "$R0\*.*"
      ${ExitDo}
    ${EndIf}
    StrCpy $R1 $R0
  ${Loop}
  ; The folders above an upgraded installation stay made by the setup.
  ${If} $R1 == ""
    StrCpy $R1 $R2
  ${EndIf}
  ClearErrors
  EnumRegKey $R0 SHCTX "${UNINSTALL_LIST}" 0
  ${If} ${Errors}
    StrCpy $R0 1
  ${Else}
    StrCpy $R0 0
  ${EndIf}

  SetOutPath "$INSTDIR\x86"
  File "${DIST}/x86/Quillmark.dll"
  ${If} ${RunningX64}
    SetOutPath "$INSTDIR\x64"
    File "${DIST}/x64/Quillmark.dll"
  ${EndIf}
  SetOutPath "$INSTDIR\bin"
  ${If} ${RunningX64}
    File "${DIST}/x64/quillmark.exe"
  ${Else}
    File "${DIST}/x86/quillmark.exe"
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${DIST}/${SETUP_ARCH}/uninstall.exe"
  WriteUninstaller "$INSTDIR\uninstall-steps.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Quillmark"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Quillmark"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $R1 != ""
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "CreatedFolder" $R1
  ${EndIf}
  ${If} $R0 = 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "CreatedUninstallList" 1
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  !insertmacro Regsvr32 x86 ""
  !if ${SETUP_ARCH} == x64
    ; A Windows that runs no 32-bit program (no WoW64) runs no 32-bit Office either.
    ${If} $1 = -1
      Delete "$INSTDIR\x86\Quillmark.dll"
      RMDir "$INSTDIR\x86"
      StrCpy $1 0
    ${EndIf}
  !endif
  ${If} $1 <> 0
    !insertmacro FailInstall "$(RegisterFailed)"
  ${EndIf}
  ${If} ${RunningX64}
    !insertmacro Regsvr32 x64 ""
    ${If} $1 <> 0
      !insertmacro FailInstall "$(RegisterFailed)"
    ${EndIf}
  ${EndIf}
SectionEnd

Section /o "$(PathSection)" SecPath
  StrCpy $PathEntry "$INSTDIR\bin"
  Call PathAdd
  ${If} $PathChanged = 1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "PathEntry" $PathEntry
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${ElseIf} $PathError <> 0
    DetailPrint "$(PathFailed)"
    MessageBox MB_ICONEXCLAMATION "$(PathFailed)" /SD IDOK
  ${EndIf}
SectionEnd

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call UseScope
  ClearErrors
  ${GetOptions} $R0 "/AddToPath" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecPath}
  ${EndIf}

  ; An installed version is replaced where it is, its PATH choice kept.
  ReadRegStr $OldInstall SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $OldInstall != ""
  ${AndIf} ${FileExists} "$OldInstall\uninstall.exe"
    StrCpy $INSTDIR $OldInstall
    ReadRegStr $R1 SHCTX "${UNINSTALL_KEY}" "PathEntry"
    ${If} $R1 != ""
      !insertmacro SelectSection ${SecPath}
    ${EndIf}
  ${Else}
    StrCpy $OldInstall ""
    ${If} $INSTDIR == ""
      ${If} $AllUsers = 1
        StrCpy $INSTDIR "$PROGRAMFILES64\Quillmark"
      ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Quillmark"
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SkipDirectoryOnUpgrade
  ${If} $OldInstall != ""
    Abort
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ; Installed for all users when the machine's uninstall entry names this folder.
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      MessageBox MB_ICONSTOP "$(UninstallNeedsAdmin)" /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call un.UseScope
FunctionEnd

Section "Uninstall"
  Call un.FindProgramInUse
  ${If} $0 != ""
    MessageBox MB_ICONSTOP "$(InUse)" /SD IDOK
    Abort "$(InUse)"
  ${EndIf}
  Call un.Unregister
  ${If} $1 <> 0
    MessageBox MB_ICONSTOP "$(UnregisterFailed)" /SD IDOK
    Abort "$(UnregisterFailed)"
  ${EndIf}
  Call un.RemoveFiles
SectionEnd
