#include "ConversionFixture.h"

namespace quillmark::test {
namespace {

struct LineCase {
    const char* line;
    const char* html;
};

class LineConversionTest : public ConversionFixture {
protected:
    // One line converted as a one-line procedure, without its block markers.
    std::string ConvertLine(const std::string& line)
    {
        Load("M", {line}, {{"P", 1, 1}});
        const std::string opener = "<div class=\"CodeArea\"><p id=\"P\">";
        const std::string closer = "</p></div>";
        std::string html = Convert("P", 1, 1);
        EXPECT_TRUE(html.starts_with(opener) && html.ends_with(closer)) << html;
        if (html.size() < opener.size() + closer.size())
            return html;
        return html.substr(opener.size(), html.size() - opener.size() - closer.size());
    }

    void Check(const std::vector<LineCase>& cases)
    {
        for (const LineCase& c : cases)
            EXPECT_EQ(ConvertLine(c.line), c.html) << "line: " << c.line;
    }
};

TEST_F(LineConversionTest, DocumentedExamples)
{
    Check({
        {"    If x < 0 Then GoTo Done ' neg",
         R"(    <span class="Deco3">If</span> <span class="Deco5">x</span> &lt; 0 <span class="Deco3">Then</span> <span class="Deco3">GoTo</span> <span class="Deco5">Done</span> <span class="Deco1">' neg</span>)"},
        {"    On Error GoTo Done",
         R"(    <span class="Deco3">On</span> <span class="Deco3">Error</span> <span class="Deco3">GoTo</span> <span class="Deco4">Done</span>)"},
        {"Done:", R"(<span class="Deco4">Done:</span>)"},
        {"Done: Resume Next",
         R"(<span class="Deco4">Done:</span> <span class="Deco3">Resume</span> <span class="Deco3">Next</span>)"},
        {R"(MsgBox Prompt:="x")",
         R"(<span class="Deco5">MsgBox</span> <span class="Deco5">Prompt</span>:=<span class="Deco2">"x"</span>)"},
    });
}

TEST_F(LineConversionTest, EscapingAndCase)
{
    Check({
        {"\t\t", "\t\t"},
        {"x = a & b",
         R"(<span class="Deco5">x</span> = <span class="Deco5">a</span> &amp; <span class="Deco5">b</span>)"},
        {R"(s = Replace(s, "<", "&lt;"))",
         R"(<span class="Deco5">s</span> = <span class="Deco5">Replace</span>(<span class="Deco5">s</span>, <span class="Deco2">"&lt;"</span>, <span class="Deco2">"&amp;lt;"</span>))"},
        {"n& = n& & 1", R"(<span class="Deco5">n&amp;</span> = <span class="Deco5">n&amp;</span> &amp; 1)"},
        {R"(y = 1")", R"(<span class="Deco5">y</span> = 1")"}, // a last quote reached by advancing is no literal
        {R"(s = "<b>" ' <i>)",
         R"(<span class="Deco5">s</span> = <span class="Deco2">"&lt;b&gt;"</span> <span class="Deco1">' &lt;i&gt;</span>)"},
        {"If a<>b Then",
         R"(<span class="Deco3">If</span> <span class="Deco5">a&lt;&gt;b</span> <span class="Deco3">Then</span>)"},
        {"If x", R"(<span class="Deco3">If</span> <span class="Deco5">x</span>)"},
        {"if x", R"(<span class="Deco5">if</span> <span class="Deco5">x</span>)"},
        {"Stop", R"(<span class="Deco5">Stop</span>)"},
    });
}

TEST_F(LineConversionTest, WordsAndNames)
{
    Check({
        {"Debug.Print x", R"(<span class="Deco3">Debug.Print</span> <span class="Deco5">x</span>)"},
        {"Debug x", R"(<span class="Deco5">Debug</span> <span class="Deco5">x</span>)"},
        {"x.Value = 1", R"(<span class="Deco5">x.Value</span> = 1)"},
        {".5", R"(<span class="Deco5">.5</span>)"},
        {"10", "10"},
        {"_", "_"},
        {"Beep", R"(<span class="Deco5">Beep</span>)"},
        {"Call Foo(a, b)",
         R"(<span class="Deco3">Call</span> <span class="Deco5">Foo</span>(<span class="Deco5">a</span>, <span class="Deco5">b</span>))"},
        {"Sub Foo()", R"(<span class="Deco3">Sub</span> <span class="Deco5">Foo</span>())"},
        {"x = &H10 + #1/1/2000#", R"(<span class="Deco5">x</span> = &amp;H10 + #1/1/2000#)"},
        // Words alike but for an inner character are told apart, each time they come.
        {"Lock Lick Lock Lick",
         R"(<span class="Deco3">Lock</span> <span class="Deco5">Lick</span> <span class="Deco3">Lock</span> <span class="Deco5">Lick</span>)"},
    });
}

TEST_F(LineConversionTest, JumpTargetsAndLabels)
{
    Check({
        {"Resume Next", R"(<span class="Deco3">Resume</span> <span class="Deco3">Next</span>)"},
        {"On Error GoTo 0",
         R"(<span class="Deco3">On</span> <span class="Deco3">Error</span> <span class="Deco3">GoTo</span> <span class="Deco4">0</span>)"},
        {"GoTo Done ' x",
         R"(<span class="Deco3">GoTo</span> <span class="Deco5">Done</span> <span class="Deco1">' x</span>)"},
        {"Resume Retry", R"(<span class="Deco3">Resume</span> <span class="Deco4">Retry</span>)"},
        {"Else:", R"(<span class="Deco4">Else:</span>)"},
        {"  Else: x = 1", R"(<span class="Deco4">  Else:</span> <span class="Deco5">x</span> = 1)"},
        {"Case Else:", R"(<span class="Deco3">Case</span> <span class="Deco5">Else:</span>)"},
        {"Foo:Bar", R"(<span class="Deco5">Foo:Bar</span>)"},
        // The label rule wraps the whole line up to the colon, markers already written included.
        {"GoTo Done:", R"(<span class="Deco4"><span class="Deco3">GoTo</span> Done:</span>)"},
        {"GoTo a: GoTo b:",
         R"(<span class="Deco4"><span class="Deco4"><span class="Deco3">GoTo</span> a:</span> <span class="Deco3">GoTo</span> b:</span>)"},
    });
}

TEST_F(LineConversionTest, ColonsAndNamedArguments)
{
    Check({
        {"Dim s As String: s = 1",
         R"(<span class="Deco3">Dim</span> <span class="Deco5">s</span> <span class="Deco3">As</span> <span class="Deco5">String:</span> <span class="Deco5">s</span> = 1)"},
        {"For i = 1 To 10: Next",
         R"(<span class="Deco3">For</span> <span class="Deco5">i</span> = 1 <span class="Deco3">To</span> 10: <span class="Deco3">Next</span>)"},
        {"a = b : c = d",
         R"(<span class="Deco5">a</span> = <span class="Deco5">b</span> : <span class="Deco5">c</span> = <span class="Deco5">d</span>)"},
        {"Foo :=1", R"(<span class="Deco5">Foo</span> <span class="Deco5"></span>:=1)"},
        {"Foo If:=1", R"(<span class="Deco5">Foo</span> <span class="Deco5">If</span>:=1)"},
        {"x = 5: ", R"(<span class="Deco5">x</span> = 5: )"},
    });
}

TEST_F(LineConversionTest, StringsAndComments)
{
    Check({
        {R"(s = "it's")", R"(<span class="Deco5">s</span> = <span class="Deco2">"it's"</span>)"},
        {R"(s = "a: b")", R"(<span class="Deco5">s</span> = <span class="Deco2">"a: b"</span>)"},
        {R"(s = "a""b")",
         R"(<span class="Deco5">s</span> = <span class="Deco2">"a"</span><span class="Deco2">"b"</span>)"},
        {R"(x = 1 ' say "hi)", R"(<span class="Deco5">x</span> = 1 <span class="Deco1">' say "hi</span>)"},
        {"    ' note", R"(<span class="Deco1">    ' note</span>)"},
        {"\t' note", "\t<span class=\"Deco1\">' note</span>"}, // a tab is no space
        {R"(' "open)", R"(<span class="Deco1">' "open</span>)"},
    });
}

// A statement that begins with Rem is a comment, whatever follows; a Rem elsewhere, or one
// without a blank after it, is a name. A date literal is read whole, as undecorated text.
TEST_F(LineConversionTest, RemStatementsAndDateLiterals)
{
    Check({
        {R"(Rem 12" pipe)", R"(<span class="Deco1">Rem 12" pipe</span>)"},
        {"  rem", R"(  <span class="Deco1">rem</span>)"},
        {"\tRem\tnote", "\t<span class=\"Deco1\">Rem\tnote</span>"},
        {R"(x = 1: Rem say "hi)", R"(<span class="Deco5">x</span> = 1: <span class="Deco1">Rem say "hi</span>)"},
        {"Dim s As String:Rem x",
         R"(<span class="Deco3">Dim</span> <span class="Deco5">s</span> <span class="Deco3">As</span> <span class="Deco5">String:</span><span class="Deco1">Rem x</span>)"},
        {"Done: Rem it's done", R"(<span class="Deco4">Done:</span> <span class="Deco1">Rem it's done</span>)"},
        {R"(10 Rem "x)", R"(10 <span class="Deco1">Rem "x</span>)"},
        {R"(s = "a: Rem b")", R"(<span class="Deco5">s</span> = <span class="Deco2">"a: Rem b"</span>)"},
        {"Remark = Rem", R"(<span class="Deco5">Remark</span> = <span class="Deco5">Rem</span>)"},
        {"Rem(1)", R"(<span class="Deco5">Rem</span>(1))"},
        {"t = #12:30:00 PM#", R"(<span class="Deco5">t</span> = #12:30:00 PM#)"},
        {"If d < #1/2/2000 3:04 am# Then",
         R"(<span class="Deco3">If</span> <span class="Deco5">d</span> &lt; #1/2/2000 3:04 am# <span class="Deco3">Then</span>)"},
        {"f(#Jan 5, 2001#, y# + #1:00#) ' t",
         R"(<span class="Deco5">f</span>(#Jan 5, 2001#, <span class="Deco5">y#</span> + #1:00#) <span class="Deco1">' t</span>)"},
        // A file number, or a type character, opens no literal.
        {"Write #1, a, b#",
         R"(<span class="Deco3">Write</span> #1, <span class="Deco5">a</span>, <span class="Deco5">b#</span>)"},
        {"#If x Then", R"(#If <span class="Deco5">x</span> <span class="Deco3">Then</span>)"},
    });
}

// A bracketed name is read as plain characters of the word it stands in: the word follows the
// ordinary rules (a Deco5 span when it begins with a letter or ".", bare when with "["), and no
// quote, apostrophe, colon or delimiter inside the brackets counts.
TEST_F(LineConversionTest, BracketedNames)
{
    Check({
        {R"(sb.[symbols like " ' # ! / \ without])",
         R"(<span class="Deco5">sb.[symbols like " ' # ! / \ without]</span>)"},
        {R"(sb.[a " b] = 1 ' note)", R"(<span class="Deco5">sb.[a " b]</span> = 1 <span class="Deco1">' note</span>)"},
        {"x = ['My Sheet'!A1]", R"(<span class="Deco5">x</span> = ['My Sheet'!A1])"},
        {R"(Call [My: Proc](a, "]"))",
         R"(<span class="Deco3">Call</span> [My: Proc](<span class="Deco5">a</span>, <span class="Deco2">"]"</span>))"},
        {R"(s = "[" ' ])",
         R"(<span class="Deco5">s</span> = <span class="Deco2">"["</span> <span class="Deco1">' ]</span>)"},
        // Without its "]" on the line, a "[" changes nothing.
        {R"(x = [a " b")", R"(<span class="Deco5">x</span> = [a <span class="Deco2">" b"</span>)"},
    });
}

TEST_F(LineConversionTest, LastCharacterOfTheLine)
{
    Check({
        {"Foo(", R"(<span class="Deco5">Foo(</span>)"},
        {"Foo a,", R"(<span class="Deco5">Foo</span> <span class="Deco5">a,</span>)"},
        {"x = y ", R"(<span class="Deco5">x</span> = <span class="Deco5">y </span>)"},
        {"x = If ", R"(<span class="Deco5">x</span> = <span class="Deco5">If </span>)"},
        {"Foo (x)", R"(<span class="Deco5">Foo</span> (<span class="Deco5">x</span>))"},
        {"x = '", R"(<span class="Deco5">x</span> = ')"},
    });
}

TEST_F(LineConversionTest, NonAsciiCharactersAreNeverSplitOrTakenForLetters)
{
    Check({
        {"é = 1", "é = 1"},
        {"café = 1", R"(<span class="Deco5">café</span> = 1)"},
        {"日本", "日本"},
        {"GoTo 日本", R"(<span class="Deco3">GoTo</span> <span class="Deco4">日本</span>)"},
        {R"(x = "日本" ' 注記)",
         R"(<span class="Deco5">x</span> = <span class="Deco2">"日本"</span> <span class="Deco1">' 注記</span>)"},
        {"x = 値:", R"(<span class="Deco5">x</span> = <span class="Deco5">値:</span>)"},
    });
}

TEST_F(LineConversionTest, StringWithoutClosingQuoteFails)
{
    for (const char* line : {R"(x = "abc)", R"(Remark = "t)", R"(MsgBox "a" & "b)"}) {
        Load("M", {"Sub P()", line, "End Sub"}, {{"P", 1, 3}});
        try {
            Convert("P", 1, 3);
            ADD_FAILURE() << "no failure for " << line;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), err::InvalidCall) << line;
            EXPECT_EQ(e.Place().line, 2) << line;
        }
    }
}

} // namespace
} // namespace quillmark::test
