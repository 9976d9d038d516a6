; One folder in the Path value of an environment key, added and removed as one element of the
; list, the value's type kept. An NSIS string holds 1024 characters, fewer than a Path may, so
; the list is read and edited in memory through the Windows API.
;
; In: $PathRoot (0x80000001 the user's, 0x80000002 the machine's), $PathKey, $PathEntry.
; Out: $PathChanged, 1 when the value was changed; $PathError, the Windows error, 0 if none.

!include LogicLib.nsh

Var PathRoot
Var PathKey
Var PathEntry
Var PathChanged
Var PathError

!define /ifndef REG_EXPAND_SZ 2
!define /ifndef ERROR_FILE_NOT_FOUND 2
!define /ifndef KEY_QUERY_AND_SET_VALUE 3

; Opens the key into $1 and reads the value's type into $2 and its size in bytes into $3; a
; missing value reads as an empty REG_EXPAND_SZ, which is what Windows makes.
!macro _PathOpen
  StrCpy $PathChanged 0
  StrCpy $1 0
  System::Call 'advapi32::RegOpenKeyExW(p $PathRoot, w "$PathKey", i 0, i ${KEY_QUERY_AND_SET_VALUE}, *p .r1) i .r0'
  ${If} $0 = 0
    System::Call 'advapi32::RegQueryValueExW(p r1, w "Path", p 0, *i .r2, p 0, *i 0 r3) i .r0'
    ${If} $0 = ${ERROR_FILE_NOT_FOUND}
      StrCpy $0 0
      StrCpy $2 ${REG_EXPAND_SZ}
      StrCpy $3 0
    ${EndIf}
  ${EndIf}
!macroend

; Reads the value into a new buffer $4 as ";" value ";", so that every element, the first and
; the last too, stands between two semicolons; $5 gets room for EXTRA more bytes.
!macro _PathRead EXTRA
  IntOp $4 $3 + ${EXTRA}
  IntOp $4 $4 + 8
  System::Alloc $4
  Pop $4
  System::Call 'kernel32::lstrcpyW(p r4, w ";")'
  ${If} $3 > 0
    IntOp $5 $4 + 2
    System::Call 'advapi32::RegQueryValueExW(p r1, w "Path", p 0, p 0, p r5, *i r3 r3) i .r0'
  ${EndIf}
  System::Call 'kernel32::lstrcatW(p r4, w ";")'
!macroend

!macro _PathClose
  ${If} $4 <> 0
    System::Free $4
  ${EndIf}
  ${If} $1 <> 0
    System::Call 'advapi32::RegCloseKey(p r1)'
  ${EndIf}
  StrCpy $PathError $0
!macroend

!macro _PathSaveRegisters
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $4 0
!macroend

!macro _PathRestoreRegisters
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
!macroend

; Appends $PathEntry unless an element equals it already (ignoring case, as Windows does).
Function PathAdd
  !insertmacro _PathSaveRegisters
  !insertmacro _PathOpen
  ${If} $0 = 0
    StrLen $6 $PathEntry
    IntOp $6 $6 * 2
    !insertmacro _PathRead $6
  ${EndIf}
  ${If} $0 = 0
    System::Call 'shlwapi::StrStrIW(p r4, w ";$PathEntry;") p .r5'
    ${If} $5 = 0
      ; Drop the closing semicolon again; the value starts after the opening one.
      System::Call 'kernel32::lstrlenW(p r4) i .r6'
      IntOp $6 $6 - 1
      IntOp $6 $6 * 2
      IntOp $6 $6 + $4
      System::Call '*$6(&i2 0)'
      IntOp $5 $4 + 2
      ${If} $6 = $5
        System::Call 'kernel32::lstrcatW(p r5, w "$PathEntry")'
      ${Else}
        ; A list that ends with a separator keeps ending with one.
        IntOp $6 $6 - 2
        System::Call '*$6(&i2 .r6)'
        ${If} $6 = 59
          System::Call 'kernel32::lstrcatW(p r5, w "$PathEntry;")'
        ${Else}
          System::Call 'kernel32::lstrcatW(p r5, w ";$PathEntry")'
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::lstrlenW(p r5) i .r6'
      IntOp $6 $6 + 1
      IntOp $6 $6 * 2
      System::Call 'advapi32::RegSetValueExW(p r1, w "Path", i 0, i r2, p r5, i r6) i .r0'
      ${If} $0 = 0
        StrCpy $PathChanged 1
      ${EndIf}
    ${EndIf}
  ${EndIf}
  !insertmacro _PathClose
  !insertmacro _PathRestoreRegisters
FunctionEnd

; Removes the element equal to $PathEntry and the separator after it, which restores the list
; that PathAdd extended; a list that is left empty was made by PathAdd, so the value goes.
!macro PathRemoveFunction UN
Function ${UN}PathRemove
  !insertmacro _PathSaveRegisters
  !insertmacro _PathOpen
  ${If} $0 = 0
  ${AndIf} $3 > 0
    !insertmacro _PathRead 0
  ${EndIf}
  ${If} $0 = 0
  ${AndIf} $4 <> 0
    System::Call 'shlwapi::StrStrIW(p r4, w ";$PathEntry;") p .r5'
    ${If} $5 <> 0
      ; From the element's first character, move everything after its closing semicolon.
      IntOp $5 $5 + 2
      StrLen $6 $PathEntry
      IntOp $6 $6 + 1
      IntOp $6 $6 * 2
      IntOp $6 $6 + $5
      System::Call 'kernel32::lstrlenW(p r6) i .r3'
      IntOp $3 $3 + 1
      IntOp $3 $3 * 2
      System::Call 'kernel32::RtlMoveMemory(p r5, p r6, i r3)'
      System::Call 'kernel32::lstrlenW(p r4) i .r6'
      ${If} $6 <= 2
        System::Call 'advapi32::RegDeleteValueW(p r1, w "Path") i .r0'
      ${Else}
        ; Without the two semicolons that _PathRead added.
        IntOp $6 $6 - 1
        IntOp $6 $6 * 2
        IntOp $6 $6 + $4
        System::Call '*$6(&i2 0)'
        IntOp $5 $4 + 2
        System::Call 'kernel32::lstrlenW(p r5) i .r6'
        IntOp $6 $6 + 1
        IntOp $6 $6 * 2
        System::Call 'advapi32::RegSetValueExW(p r1, w "Path", i 0, i r2, p r5, i r6) i .r0'
      ${EndIf}
      ${If} $0 = 0
        StrCpy $PathChanged 1
      ${EndIf}
    ${EndIf}
  ${EndIf}
  !insertmacro _PathClose
  !insertmacro _PathRestoreRegisters
FunctionEnd
!macroend
