Attribute VB_Name = "Logging"
Option Explicit

Private mLines As Collection

Public Sub Init()
    Set mLines = New Collection
End Sub

Public Sub WriteLog(ByVal message As String)
    If mLines Is Nothing Then Init
    mLines.Add Format$(Now, "hh:nn:ss") & " " & message
    If mLines.Count > &H10 Then Flush
End Sub

Private Sub Flush()
    On Error GoTo Failed
    Debug.Print mLines.Count
    Set mLines = New Collection
    Exit Sub
Failed:
    WriteLog "Flush failed"
End Sub
