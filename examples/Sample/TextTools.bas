Attribute VB_Name = "TextTools"
' 文字列の小道具
Option Explicit
Option Compare Text

#Const TRACE_ON = 0

Public Function PadLeft$(ByVal text$, ByVal width%, Optional ByVal fill$ = " ")
    #If TRACE_ON Then
    Debug.Print "PadLeft: '" & text & "'"
    #End If
    If Len(text) >= width Then
        PadLeft = text
    Else
        PadLeft = String$(width - Len(text), fill) & text
    End If
End Function

' 全角の「〜」を半角の "~" に置き換える
Public Function NormalizeTilde(ByVal s As String) As String
    NormalizeTilde = Replace(s, ChrW(&H301C), "~", Compare:=vbBinaryCompare)
End Function

Public Function JoinLines(ParamArray parts() As Variant) _
    As String
    Dim i As Long, result As String
    For i = LBound(parts) To UBound(parts)
        If i > LBound(parts) Then result = result & vbCrLf
        result = result & CStr(parts(i))
    Next i
    JoinLines = result
End Function
' end of TextTools
