#include "ModuleGenerator.h"

#include <array>
#include <string_view>

namespace quillmark::bench {
namespace {

constexpr std::array<std::string_view, 24> kBody = {
    "    Dim total As Long, i As Long",
    "    Dim name As String",
    "    On Error GoTo ErrHandler",
    "    ' walk the rows and add up the amounts",
    "    For i = 1 To UBound(values)",
    "        If values(i) < 0 Then GoTo NextRow ' skip refunds",
    "        total = total + values(i) * rate",
    "        name = \"Row \" & CStr(i) & \" of \"\"sheet\"\"\"",
    "        Debug.Print name, total",
    "NextRow:",
    "    Next i",
    "    With ActiveSheet.Range(\"A1:B\" & CStr(i))",
    "        .Value = total",
    "        .Font.Bold = True",
    "    End With",
    "    MsgBox Prompt:=\"合計は \" & total & \" です\", Buttons:=vbOKOnly, Title:=\"集計\"",
    "    Select Case total",
    "        Case Is > 1000: Call Notify(name, total)",
    "        Case Else",
    "    End Select",
    "    Exit Sub",
    "ErrHandler:",
    "    Debug.Assert False",
    "    Resume Next",
};

} // namespace

std::string GenerateModule(std::int32_t lineCount)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lineCount) * 36);
    std::int32_t lines = 0;
    auto line = [&](std::string_view s) {
        text += s;
        text += "\r\n";
        ++lines;
    };
    line("Option Explicit");
    line("' 売上データを集計するモジュール");
    line("Private Const RATE As Double = 1.08");
    line("Private m_Count As Long");
    line("Public Event Changed(ByVal Value As Long)");
    line("");
    for (std::int32_t n = 0; lines < lineCount; ++n) {
        const std::string id = std::to_string(n);
        switch (n % 4) {
        case 0:
        case 1:
            line("' Adds up the values of block " + id);
            line("Public Sub Summarize" + id + "(values() As Double, ByVal rate As Double)");
            for (std::string_view body : kBody)
                line(body);
            line("End Sub");
            break;
        case 2:
            line("Private Function Lookup" + id + "(ByVal key As String) As Variant");
            line("    If Len(key) = 0 Then Lookup" + id + " = Null: Exit Function");
            line("    Lookup" + id + " = Application.WorksheetFunction.VLookup(key, Range(\"Table\"), 2, False)");
            line("End Function");
            break;
        default:
            line("Public Property Get Count" + id + "() As Long");
            line("    Count" + id + " = m_Count");
            line("End Property");
            line("Public Property Let Count" + id + "(ByVal value As Long)");
            line("    m_Count = value: RaiseEvent Changed(value)");
            line("End Property");
            break;
        }
        line("");
    }
    return text;
}

} // namespace quillmark::bench
