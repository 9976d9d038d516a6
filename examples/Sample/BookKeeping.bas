Attribute VB_Name = "BookKeeping"
'==============================================================
' 家計簿の集計モジュール
' Sums up the entries of a household ledger sheet.
'==============================================================
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As Long
#Else
Private Declare Function GetTickCount Lib "kernel32" () As Long
#End If

Private Const SHEET_NAME As String = "明細"
Private Const FIRST_ROW As Long = 2
Public Enum EntryKind
    ekIncome = 1
    ekExpense = 2
End Enum

Private mLedger As Ledger

' 明細シートを読み込んで集計する
Public Sub SummarizeMonth(ByVal yearMonth As String)
    Dim ws As Worksheet
    Dim row As Long
    Dim started As Long

    On Error GoTo Failed
    started = GetTickCount()
    Set mLedger = New Ledger
    Set ws = ThisWorkbook.Worksheets(SHEET_NAME)

    row = FIRST_ROW
    Do While Len(ws.Cells(row, 1).Value) > 0
        If Format$(ws.Cells(row, 1).Value, "yyyymm") = yearMonth Then
            mLedger.Add Amount:=ws.Cells(row, 3).Value, Kind:=ws.Cells(row, 2).Value
        End If
        row = row + 1
    Loop

    Debug.Print "集計: "; mLedger.Count; " 件 ("; GetTickCount() - started; " ms)"
    MsgBox "残高は """ & Format$(mLedger.Balance, "#,##0") & """ 円です。", _
           Buttons:=vbInformation, Title:="家計簿"
    Exit Sub

Failed:
    ' シートが無いときもここに来る
    MsgBox "集計できませんでした: " & Err.Description, vbExclamation
End Sub

' 月ごとの残高を返す (<0 なら赤字)
Public Function MonthBalance(ByVal yearMonth As String) As Currency
    SummarizeMonth yearMonth
    If mLedger Is Nothing Then GoTo NoData
    MonthBalance = mLedger.Balance
    Exit Function
NoData:
    MonthBalance = 0
End Function

Private Sub ResetLedger(): Set mLedger = Nothing: End Sub
