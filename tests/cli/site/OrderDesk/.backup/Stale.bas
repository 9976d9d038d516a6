Attribute VB_Name = "Stale"
Sub Hidden()
End Sub
