Attribute VB_Name = "Text"
Public Function FormatAmount(ByVal value As Currency) As String
    FormatAmount = PadLeft(Format$(value, "#,##0"), 10)
End Function

Public Function PadLeft(ByVal s As String, ByVal width As Long) As String
    PadLeft = Right$(Space$(width) & s, width)
End Function

Public Sub Init()
    Rem PadLeft "pads" nothing yet: FormatAmount neither
    Const Opening As Date = #9:00:00 AM#: Rem Init
    ' FormatAmount in a comment that goes on _
      with PadLeft(1) in it
End Sub
