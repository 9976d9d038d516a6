VERSION 5.00
Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} frmEntry 
   Caption         =   "明細の入力"
   ClientHeight    =   3120
   ClientLeft      =   45
   ClientTop       =   390
   ClientWidth     =   4560
   OleObjectBlob   =   "frmEntry.frx":0000
   StartUpPosition =   1  'オーナー フォームの中央
End
Attribute VB_Name = "frmEntry"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
' 明細を一件入力するフォーム
Option Explicit

Private Sub cmdOk_Click()
    If Not IsNumeric(txtAmount.Text) Then
        MsgBox "金額は数字で入力してください。", vbExclamation, Caption
        txtAmount.SetFocus
        Exit Sub
    End If
    Me.Tag = "OK"
    Me.Hide
End Sub

Private Sub cmdCancel_Click()
    Me.Tag = ""
    Me.Hide
End Sub

Private Sub UserForm_QueryClose(Cancel As Integer, CloseMode As Integer)
    ' ×ボタンは取消と同じ
    If CloseMode = vbFormControlMenu Then
        Cancel = True
        cmdCancel_Click
    End If
End Sub
