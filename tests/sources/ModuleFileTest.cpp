#include "sources/ModuleFile.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

constexpr const char* kClass = "VERSION 1.0 CLASS\r\n"
                               "BEGIN\r\n"
                               "  MultiUse = -1  'True\r\n"
                               "END\r\n"
                               "Attribute VB_Name = \"Stack\"\r\n"
                               "Attribute VB_GlobalNameSpace = False\r\n"
                               "Attribute VB_Creatable = False\r\n"
                               "Option Explicit\r\n"
                               "Public Property Get Item(ByVal i As Long) As Variant\r\n"
                               "Attribute Item.VB_UserMemId = 0\r\n"
                               "Attribute Item.VB_Description = \"An item\"\r\n"
                               "End Property\r\n";

constexpr const char* kForm = "VERSION 5.00\n"
                              "Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} frmMain \n"
                              "   Caption         =   \"End\"\n"
                              "   ClientHeight    =   3015\n"
                              "   Begin VB.Frame Frame1\n"
                              "      BeginProperty Font\n"
                              "         Name = \"MS Gothic\"\n"
                              "      EndProperty\n"
                              "      Begin VB.CommandButton cmdOk\n"
                              "         Caption = \"OK\"\n"
                              "      End\n"
                              "   End\n"
                              "   StartUpPosition =   1  'CenterOwner\n"
                              "End\n"
                              "Attribute VB_Name = \"frmMain\"\n"
                              "Attribute VB_PredeclaredId = True\n"
                              "Private Sub cmdOk_Click()\n"
                              "    Unload Me\n"
                              "End Sub\n";

TEST(VisibleCode, HidesHeaderAndAttributesKeepingLineBreaks)
{
    EXPECT_EQ(VisibleCode(kClass), "Option Explicit\r\n"
                                   "Public Property Get Item(ByVal i As Long) As Variant\r\n"
                                   "End Property\r\n");
    EXPECT_EQ(VisibleCode(kForm), "Private Sub cmdOk_Click()\n    Unload Me\nEnd Sub\n");
}

TEST(VisibleCode, KeepsWhatIsNoHeader)
{
    struct Case {
        const char* text;
        const char* visible;
    };
    const Case cases[] = {
        {"", ""},
        {"Attribute VB_Name = \"M\"", ""},
        {"Attribute VB_Name = \"M\"\rDim a\rDim b", "Dim a\rDim b"},
        // an assignment to a variable called Attribute is code
        {"Sub A()\n  Attribute = 1\nEnd Sub", "Sub A()\n  Attribute = 1\nEnd Sub"},
        // VERSION only counts as the first line, with a version number
        {"Dim a\nVERSION 1.0 CLASS\n", "Dim a\nVERSION 1.0 CLASS\n"},
        // a header block that never closes hides only the VERSION line
        {"VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nSub A()\n", "BEGIN\n  MultiUse = -1\nSub A()\n"},
        // a VB6 form's Object lines belong to the header
        {"VERSION 5.00\nObject = \"{X}#2.0#0\"; \"x.ocx\"\nBegin VB.Form F\nEnd\nDim a", "Dim a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VisibleCode(c.text), c.visible) << c.text;
}

// The lines of a text, whether found while the attributes are dropped or in the visible text.
TEST(VisibleLines, EndAtEveryKindOfBreak)
{
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\nAttribute VB_Name = \"M\"\r\nb\n\r\nc", {"a", "b", "", "c"}},
    };
    for (const auto& c : cases) {
        for (const ModuleText& text : {VisibleLines(c.text), ModuleText(VisibleCode(c.text))}) {
            std::vector<std::string> lines;
            for (std::int32_t i = 1; i <= text.Count(); ++i)
                lines.emplace_back(text.Line(i));
            EXPECT_EQ(lines, c.lines) << c.text;
        }
    }
}

TEST(ParseModuleFile, NameAndType)
{
    struct Case {
        std::string text;
        const char* extension;
        const char* name;
        std::int32_t type;
    };
    const std::string document = "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n"
                                 "Attribute VB_Name = \"ThisWorkbook\"\n"
                                 "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\n"
                                 "Attribute VB_Customizable = True\nOption Explicit\n";
    const Case cases[] = {
        {"Attribute VB_Name = \"Module1\"\nSub A()\nEnd Sub\n", ".bas", "Module1", 1},
        {"Sub A()\nEnd Sub\n", ".bas", "fallback", 1},
        {"Attribute VB_Name = \"\"\n", ".BAS", "fallback", 1},
        {kClass, ".cls", "Stack", 2},
        {kForm, ".frm", "frmMain", 3},
        {document, ".cls", "ThisWorkbook", 100},
        {document, ".Cls", "ThisWorkbook", 100},
        {"Attribute VB_Name = \"名前\"\n", ".bas", "名前", 1},
    };
    for (const Case& c : cases) {
        const ExportedModule m = ParseModuleFile(c.text, "fallback", c.extension);
        EXPECT_EQ(m.name, c.name) << c.text;
        EXPECT_EQ(m.type, c.type) << c.text;
    }
    EXPECT_EQ(ParseModuleFile(document, "x", ".cls").code, "Option Explicit\n");
}

} // namespace
} // namespace quillmark
