#include "sources/ProcedureTable.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quillmark {

void PrintTo(const ProcRecord& b, std::ostream* os)
{
    *os << "{" << b.ProcName << ", " << b.FirstLine << ".." << b.LastLine << ", kind " << b.Kind << "}";
}

namespace {

struct ScanCase {
    const char* title;
    std::vector<std::string> lines;
    std::vector<ProcRecord> blocks;
};

std::ostream& operator<<(std::ostream& os, const ScanCase& c)
{
    return os << c.title;
}

class ScanProceduresTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanProceduresTest, OwnsLinesByTheEditorsRules)
{
    const ScanCase& c = GetParam();
    EXPECT_EQ(ScanProcedures(ModuleText::FromLines(c.lines)), c.blocks);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modules, ScanProceduresTest, ::testing::Values(
    ScanCase{"declarations only",
        {"Option Explicit", "Dim x As Long", "' done"},
        {}},
    ScanCase{"empty module", {}, {}},
    ScanCase{"procedure on line 1, trailing lines go to the last procedure",
        {"Sub A()", "End Sub", "", "' tail"},
        {{"A", 1, 4}}},
    ScanCase{"comments and blank lines before a procedure belong to it",
        {"Option Explicit", "", "' about A", "Rem more", "Public Sub A()", "End Sub",
         "", "' about B", "Private Function B() As Long", "End Function"},
        {{"A", 2, 6}, {"B", 7, 10}}},
    ScanCase{"#Const joins the procedure, #If stays in the declarations",
        {"#If VBA7 Then", "Private Declare PtrSafe Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", "#Else",
         "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", "#End If", "#Const DEBUG_ON = 1",
         "Sub A()", "End Sub"},
        {{"A", 6, 8}}},
    ScanCase{"Declare, Event, Enum, Type and variables are no procedures",
        {"Public Event Changed(ByVal x As Long)", "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
         "Enum Color", "  Red", "End Enum", "Type Pt", "  X As Long", "End Type", "Dim Submit As Long",
         "Public Function_ As Long", "Sub A()", "End Sub"},
        {{"A", 11, 12}}},
    ScanCase{"a header continued with \" _\"",
        {"Dim x", "Public Function Long_Name( _", "    ByVal a As Long, _", "    ByVal b As Long) As Long",
         "  Long_Name = a + b", "End Function"},
        {{"Long_Name", 2, 6}}},
    ScanCase{"End Sub inside a string or comment does not end the procedure",
        {"Sub A()", "  MsgBox \"End Sub\"", "  ' End Sub", "  x = 1 ' : End Sub", "  Rem End Sub",
         "  y = \"a\"\": End Sub\"", "End Sub", "Sub B()", "End Sub"},
        {{"A", 1, 7}, {"B", 8, 9}}},
    ScanCase{"label, line number and trailing comment on the end line",
        {"Sub A()", "Finish: End Sub", "Sub B()", "10 End Sub ' done", "Sub C()", "  GoTo Out",
         "Out:", "End  Sub"},
        {{"A", 1, 2}, {"B", 3, 4}, {"C", 5, 8}}},
    ScanCase{"one-line procedures",
        {"Sub X(): End Sub", "Private Sub Y(ByVal a As Long): Debug.Print a: End Sub", "' tail"},
        {{"X", 1, 1}, {"Y", 2, 3}}},
    ScanCase{"Property Get, Let and Set of one name",
        {"Private m As Object", "Public Property Get Item() As Object", "  Set Item = m", "End Property",
         "Public Property Let Item(ByVal v As Object)", "End Property",
         "Public Property Set Item(ByVal v As Object)", "  Set m = v", "End Property"},
        {{"Property Get Item", 2, 4, 3}, {"Property Let Item", 5, 6, 1}, {"Property Set Item", 7, 9, 2}}},
    ScanCase{"a procedure defined twice under #If/#Else",
        {"#If Win64 Then", "Function Ptr() As LongPtr", "End Function", "#Else",
         "Function Ptr() As Long", "End Function", "#End If"},
        {{"Ptr", 2, 3}, {"Ptr", 4, 7}}},
    ScanCase{"alternative headers under #If share one body and one end",
        {"Dim a", "#If VBA7 Then", "Public Function Create(ByVal h As LongPtr) As Window", "#Else",
         "Public Function create(ByVal h As Long) As Window", "#End If", "  Set Create = New Window",
         "End Function", "Sub After()", "End Sub"},
        {{"Create", 3, 8}, {"After", 9, 10}}},
    ScanCase{"another name or kind while one is open ends the open one",
        {"Property Get P()", "#If X Then", "Property Let P(v)", "#End If", "End Property"},
        {{"Property Get P", 1, 2, 3}, {"Property Let P", 3, 5, 1}}},
    ScanCase{"no end statement owns to the module's end",
        {"Dim a", "Sub A()", "  x = 1", "", "' still A"},
        {{"A", 2, 5}}},
    ScanCase{"an unended procedure before another ends at its last statement",
        {"Sub A()", "  x = 1", "", "' about B", "Sub B()", "End Sub"},
        {{"A", 1, 2}, {"B", 3, 6}}},
    ScanCase{"type-declaration characters, Static, Friend, keyword case",
        {"FUNCTION Name$(ByVal s$)", "END FUNCTION", "Private Static Sub Counter()", "End Sub",
         "Friend Function Total@()", "End Function", "Global Sub G()", "end sub", "sub [Odd Name]()", "End Sub"},
        {{"Name", 1, 2}, {"Counter", 3, 4}, {"Total", 5, 6}, {"G", 7, 8}, {"Odd Name", 9, 10}}},
    ScanCase{"a quote or an apostrophe in a bracketed name opens no string or comment",
        {"Sub A()", "  sb.[it's] = 1: End Sub", "#If X Then", "Sub B()", "  x = [a \"b]: End Sub", "#End If",
         "Sub [it's]()", "End Sub"},
        {{"A", 1, 2}, {"B", 3, 5}, {"it's", 6, 8}}},
    ScanCase{"Japanese names and comments",
        {"' 宣言", "Sub 集計()", "  ' End Sub ではない", "End Sub"},
        {{"集計", 1, 4}}},
    ScanCase{"a continued comment is one comment",
        {"Dim a", "' note _", "  End Sub", "Sub A()", "End Sub"},
        {{"A", 2, 5}}},
    ScanCase{"Rem after a colon, a label or a line number is a comment to the line's end",
        {"Sub A()", "  x = 1: Rem : End Sub", "Out: rem x: End Sub", "10 Rem x: End Sub", "End Sub",
         "Rem a _", "Sub Hidden()", "rem\tb", "Sub B()", "Remark: End Sub"},
        {{"A", 1, 5}, {"B", 6, 10}}},
    ScanCase{"named arguments and End alone do not split or end",
        {"Sub A()", "  Foo x:=1, y:=\"End Sub\"", "  If x Then End", "End Sub"},
        {{"A", 1, 4}}}));
// clang-format on

TEST(ScanProcedures, MixedLineBreaksCountAsLines)
{
    const ModuleText text("Dim a\rSub A()\nEnd Sub\r\n' x");
    EXPECT_EQ(ScanProcedures(text), (std::vector<ProcRecord>{{"A", 2, 4}}));
}

// Whatever the text, the blocks tile the module from the first procedure's first line to the end.
TEST(ScanProcedures, BlocksAreContiguousOnAnyText)
{
    const char* const pieces[] = {"Sub A()",
                                  "End Sub",
                                  "Function F$(x)",
                                  "End Function",
                                  "Property Get P()",
                                  "End Property",
                                  "' c",
                                  "Rem",
                                  "#Const X = 1",
                                  "#If X Then",
                                  "#End If",
                                  "",
                                  "x = \"End Sub",
                                  " _",
                                  "lbl:",
                                  ": End Sub",
                                  "Sub B(): End Sub",
                                  "Dim d",
                                  "Public Static Sub S( _",
                                  "\"",
                                  "'",
                                  "\t"};
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int lines = static_cast<int>(random() % 30);
        for (int i = 0; i < lines; ++i) {
            for (int k = static_cast<int>(random() % 3); k >= 0; --k)
                text += pieces[random() % std::size(pieces)];
            text += "\r\n\r"[random() % 3];
        }
        const ModuleText module(text);
        const auto blocks = ScanProcedures(module);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_GE(blocks[i].FirstLine, 1) << text;
            EXPECT_LE(blocks[i].FirstLine, blocks[i].LastLine) << text;
            if (i > 0) {
                EXPECT_EQ(blocks[i].FirstLine, blocks[i - 1].LastLine + 1) << text;
            }
        }
        if (!blocks.empty()) {
            EXPECT_EQ(blocks.back().LastLine, module.Count()) << text;
        }
    }
}

TEST(ProcedureTable, LooksUpBlocksByLineAndName)
{
    const auto table = ProcedureTable::Scan(
        ModuleText::FromLines({"Dim a", "#If X Then", "Sub P()", "End Sub", "#Else", "Sub p()", "End Sub", "#End If"}));
    ASSERT_EQ(table.Blocks().size(), 2u);
    EXPECT_EQ(table.BlockOfLine(1), -1);
    EXPECT_EQ(table.BlockOfLine(2), -1);
    EXPECT_EQ(table.BlockOfLine(3), 0);
    EXPECT_EQ(table.BlockOfLine(5), 1);
    EXPECT_EQ(table.BlockOfLine(8), 1);
    EXPECT_EQ(table.BlockOfLine(9), -1);
    EXPECT_EQ(table.FindBlock("P", 0, 1), 1);
    EXPECT_EQ(table.FindBlock("P", 0, -1), 0);
    EXPECT_EQ(table.FindBlock("p", 0, 0), 0);
    EXPECT_EQ(table.FindBlock("P", 3, 1), -1);
    EXPECT_EQ(table.FindBlock("Q", 0, -1), -1);
}

// The statement, not a comment above it nor one that a comment's " _" carries on, nor a
// continued header's later lines.
TEST(FindProcedureStatement, TheProcedureStatementSaysWhereAndWhetherPrivate)
{
    const ModuleText text = ModuleText::FromLines({
        "' Private Sub Commented()",
        "Private Sub Hidden()",
        "End Sub",
        "Sub Plain()",
        "End Sub",
        "private static function Lower$( _",
        "  a)",
        "End Function",
        "' Private Property Get Size",
        "Friend Property Get Size() As Long",
        "End Property",
        "Private Property Let Size(v As Long)",
        "End Property",
        "' was: _",
        "Private Sub Opened()",
        "Sub Opened()",
        "End Sub",
    });
    const std::vector<ProcRecord> blocks = ScanProcedures(text);
    ASSERT_EQ(blocks.size(), 6u);
    std::vector<std::pair<std::int32_t, bool>> found;
    for (const ProcRecord& block : blocks) {
        const ProcedureStatement statement = FindProcedureStatement(text, block);
        found.emplace_back(statement.line, statement.isPrivate);
    }
    EXPECT_EQ(found, (std::vector<std::pair<std::int32_t, bool>>{
                         {2, true}, {4, false}, {6, true}, {10, false}, {12, true}, {16, false}}));
}

} // namespace
} // namespace quillmark
