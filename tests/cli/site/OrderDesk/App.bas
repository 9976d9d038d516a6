Attribute VB_Name = "App"
' Entry point of the order desk
Option Explicit

Public Sub Main()
    Dim order As Order
    Set order = New Order
    order.Amount = 1200
    WriteLog "Main: " & FormatAmount(order.Amount)
    Logging.WriteLog "FormatAmount is not called here"
    ' WriteLog in a comment stays plain
    Call 注文を集計する(order)
    Init
    Text.Init
End Sub

' Named like Main's line, whose anchor it takes: links to Main land on Main's block
Private Sub L4()
    WriteLog "once": Logging.WriteLog "in its Used by"
    If False Then L4 ' nor is it its own user
End Sub
