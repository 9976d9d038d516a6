#include "ConversionFixture.h"

namespace quillmark::test {
namespace {

class ConverterTest : public ConversionFixture {};

const std::vector<std::string> SampleLines = {"Option Explicit", "' note", "", "Sub Foo()", "  x = 1 ' t", "End Sub"};

TEST_F(ConverterTest, WholeSampleModule)
{
    Load("Sample", SampleLines, {{"Foo", 4, 6}});
    EXPECT_EQ(
        ConvertAll(),
        Join({
            R"(<div class="CodeArea"><p id="Sample.Declarations"><span class="Deco3">Option</span> <span class="Deco3">Explicit</span>)",
            R"(<span class="Deco1">' note</span>)",
            R"(</p></div>)",
            R"(<div class="CodeArea"><p id="Foo"><span class="Deco3">Sub</span> <span class="Deco5">Foo</span>())",
            R"(  <span class="Deco5">x</span> = 1 <span class="Deco1">' t</span>)",
            R"(<span class="Deco3">End</span> <span class="Deco3">Sub</span></p></div>)",
        }));
}

TEST_F(ConverterTest, BlocksOfEachEntry)
{
    Load("Sample", SampleLines, {{"Foo", 4, 6}});
    EXPECT_EQ(
        Convert("_Declarations_", 1, 3),
        Join({
            R"(<div class="CodeArea"><p id="Sample.Declarations"><span class="Deco3">Option</span> <span class="Deco3">Explicit</span>)",
            R"(<span class="Deco1">' note</span>)",
            R"(</p></div>)",
        }));
    EXPECT_EQ(
        Convert("Foo", 4, 5),
        Join({
            R"(<div class="CodeArea"><p id="Foo"><span class="Deco3">Sub</span> <span class="Deco5">Foo</span>())",
            R"(  <span class="Deco5">x</span> = 1 <span class="Deco1">' t</span></p></div>)",
        }));
    EXPECT_EQ(
        Convert("Property Let Size", 6, 6),
        R"(<div class="CodeArea"><p id="Property Let Size"><span class="Deco3">End</span> <span class="Deco3">Sub</span></p></div>)");
}

TEST_F(ConverterTest, ProceduresFromTheFirstLineGetNoDeclarationsBlock)
{
    Load("Module1", {"Sub Foo()", "End Sub", "Property Get Bar()", "End Property"},
         {{"Foo", 1, 2}, {"Property Get Bar", 3, 4}});
    const std::string code = Join({
        R"(<div class="CodeArea"><p id="Foo"><span class="Deco3">Sub</span> <span class="Deco5">Foo</span>())",
        R"(<span class="Deco3">End</span> <span class="Deco3">Sub</span></p></div>)",
        R"(<div class="CodeArea"><p id="Property Get Bar"><span class="Deco3">Property</span> <span class="Deco3">Get</span> <span class="Deco5">Bar</span>())",
        R"(<span class="Deco3">End</span> <span class="Deco3">Property</span></p></div>)",
    });
    EXPECT_EQ(ConvertAll(), code);
    EXPECT_EQ(ConvertAll(true), Join({
                                    "<ul>",
                                    R"(<li><a href="#Module1.Declarations">GoTo Module1.Declarations</a>)",
                                    R"(<li><a href="#Foo">GoTo Foo</a>)",
                                    R"(<li><a href="#Property Get Bar">GoTo Property Get Bar</a>)",
                                    "</ul>",
                                    code,
                                }));
}

TEST_F(ConverterTest, LinkListOfEachEntryComesFirst)
{
    Load("Sample", SampleLines, {{"Foo", 4, 6}});
    EXPECT_EQ(
        Convert("_Declarations_", 1, 1, true),
        "<ul>\r\n"
        R"(<li><a href="#Sample.Declarations">GoTo Sample.Declarations</a>)"
        "\r\n</ul>\r\n"
        R"(<div class="CodeArea"><p id="Sample.Declarations"><span class="Deco3">Option</span> <span class="Deco3">Explicit</span></p></div>)");
    EXPECT_EQ(
        Convert("Foo", 6, 6, true),
        "<ul>\r\n"
        R"(<li><a href="#Foo">GoTo Foo</a>)"
        "\r\n</ul>\r\n"
        R"(<div class="CodeArea"><p id="Foo"><span class="Deco3">End</span> <span class="Deco3">Sub</span></p></div>)");
}

// Names come from files and code that anyone may write: none may end an attribute or open a
// tag, and every link still lands on its anchor.
TEST_F(ConverterTest, NamesInIdsAndLinksAreEscaped)
{
    const std::string hostile = R"x(a" onmouseover="alert(1))x";
    Load("<script>x</script>", {"Option Explicit", "Sub A()", "End Sub", "Sub B()", "End Sub"},
         {{hostile, 2, 3}, {"Property Get R&D", 4, 5}});
    const std::string html = ConvertAll(true);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(html.find(R"(" onmouseover)"), std::string::npos);
    for (const std::string id : {"&lt;script&gt;x&lt;/script&gt;.Declarations", "a&quot; onmouseover=&quot;alert(1)",
                                 "Property Get R&amp;D"}) {
        EXPECT_NE(html.find(R"(<p id=")" + id + R"(">)"), std::string::npos) << id;
        EXPECT_NE(html.find(R"(<a href="#)" + id + R"(">GoTo )" + id + "</a>"), std::string::npos) << id;
    }
    EXPECT_NE(Convert(hostile, 2, 3, true).find(R"x(<p id="a&quot; onmouseover=&quot;alert(1)">)x"), std::string::npos);
}

TEST_F(ConverterTest, ModuleWithoutProceduresIsOneDeclarationsBlock)
{
    Load("Consts", {"Const A = 1", "   ", "Public B"});
    const std::string code = Join({
        R"(<div class="CodeArea"><p id="Consts.Declarations"><span class="Deco3">Const</span> <span class="Deco5">A</span> = 1)",
        "",
        R"(<span class="Deco3">Public</span> <span class="Deco5">B</span></p></div>)",
    });
    EXPECT_EQ(ConvertAll(), code);
    // The index's placeholder record leaves an empty last element, hence one more empty line.
    EXPECT_EQ(ConvertAll(true), "<ul>\r\n"
                                R"(<li><a href="#Consts.Declarations">GoTo Consts.Declarations</a>)"
                                "\r\n</ul>\r\n\r\n" +
                                    code);
}

TEST_F(ConverterTest, EmptyModuleGivesOneEmptyDeclarationsBlock)
{
    Load("Empty", {});
    std::int32_t first = 0;
    std::int32_t last = 0;
    EXPECT_EQ(ConvertToHtml(project_, "*", first, last, false),
              R"(<div class="CodeArea"><p id="Empty.Declarations"></p></div>)");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 1);
}

TEST_F(ConverterTest, CommentRuns)
{
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> html;
    } cases[] = {
        {{"' a", "' b", "' c"}, {R"(<span class="Deco1">' a)", "' b", R"(' c</span>)"}},
        {{"' a", "", "' b"}, {R"(<span class="Deco1">' a</span>)", "", R"(<span class="Deco1">' b</span>)"}},
        {{"' a", "x = 1 ' b", "  ' c", "' d"},
         {R"(<span class="Deco1">' a</span>)", R"(<span class="Deco5">x</span> = 1 <span class="Deco1">' b</span>)",
          R"(<span class="Deco1">  ' c)", R"(' d</span>)"}},
        {{"' a", "\t' b"}, {R"(<span class="Deco1">' a</span>)", "\t<span class=\"Deco1\">' b</span>"}},
        // A comment goes on with " _" to the next line that is not blank, which is a comment of
        // its own unless it is a whole-line comment itself; a Rem line is one of its own.
        {{"' a _", "  b _", "' c", "d"},
         {R"(<span class="Deco1">' a _</span>)", R"(  <span class="Deco1">b _</span>)",
          R"(<span class="Deco1">' c</span>)", R"(<span class="Deco5">d</span>)"}},
        {{"x = 1 ' a _ ", "b", "c"},
         {R"(<span class="Deco5">x</span> = 1 <span class="Deco1">' a _ </span>)", R"(<span class="Deco1">b</span>)",
          R"(<span class="Deco5">c</span>)"}},
        {{"' a _", "' b", "", "c"},
         {R"(<span class="Deco1">' a _)", R"(' b</span>)", "", R"(<span class="Deco5">c</span>)"}},
        {{"Rem a _", "Rem b", "' c", "x_"},
         {R"(<span class="Deco1">Rem a _</span>)", R"(<span class="Deco1">Rem b</span>)",
          R"(<span class="Deco1">' c</span>)", R"(<span class="Deco5">x_</span>)"}},
        {{"' a_", "b"}, {R"(<span class="Deco1">' a_</span>)", R"(<span class="Deco5">b</span>)"}},
    };
    for (const auto& c : cases) {
        const auto count = static_cast<std::int32_t>(c.lines.size());
        Load("M", c.lines, {{"P", 1, count}});
        std::vector<std::string> expected = c.html;
        expected.front() = R"(<div class="CodeArea"><p id="P">)" + expected.front();
        expected.back() += "</p></div>";
        EXPECT_EQ(Convert("P", 1, count), Join(expected)) << c.lines.front();
    }
}

// A run of whole-line comments is closed on the last line of its block, so a run that goes
// on into the next block opens a new span there and the markers stay well nested.
TEST_F(ConverterTest, CommentRunClosesAtTheEndOfABlock)
{
    Load("M", {"Option Explicit", "' a", "' b", "Sub Foo()", "End Sub", "' c", "' d", "Sub Bar()", "End Sub"},
         {{"Foo", 3, 6}, {"Bar", 7, 9}});
    EXPECT_EQ(
        ConvertAll(),
        Join({
            R"(<div class="CodeArea"><p id="M.Declarations"><span class="Deco3">Option</span> <span class="Deco3">Explicit</span>)",
            R"(<span class="Deco1">' a</span></p></div>)",
            R"(<div class="CodeArea"><p id="Foo"><span class="Deco1">' b</span>)",
            R"(<span class="Deco3">Sub</span> <span class="Deco5">Foo</span>())",
            R"(<span class="Deco3">End</span> <span class="Deco3">Sub</span>)",
            R"(<span class="Deco1">' c</span></p></div>)",
            R"(<div class="CodeArea"><p id="Bar"><span class="Deco1">' d</span>)",
            R"(<span class="Deco3">Sub</span> <span class="Deco5">Bar</span>())",
            R"(<span class="Deco3">End</span> <span class="Deco3">Sub</span></p></div>)",
        }));
}

// Likewise on the last line of the range, even when the module's next line is a comment.
TEST_F(ConverterTest, CommentRunClosesAtTheEndOfTheRange)
{
    Load("M", {"' a", "' b", "' c", "Sub Foo()", "End Sub"}, {{"Foo", 1, 5}});
    EXPECT_EQ(
        Convert("_Declarations_", 1, 2),
        Join({R"(<div class="CodeArea"><p id="M.Declarations"><span class="Deco1">' a)", R"(' b</span></p></div>)"}));
    EXPECT_EQ(Convert("Foo", 2, 2), R"(<div class="CodeArea"><p id="Foo"><span class="Deco1">' b</span></p></div>)");
}

TEST_F(ConverterTest, Failures)
{
    Load("M", {"Sub Foo()", "End Sub"}, {{"Foo", 1, 2}});
    ModHtmlState& state = ModHtml();

    EXPECT_EQ(FailureOf([&] { Convert("Foo", 2, 1); }), err::SubscriptOutOfRange); // last below first

    state.ProcIndex = {{"Foo", 1, 3}}; // the index no longer matches the module
    EXPECT_EQ(FailureOf([&] { ConvertAll(); }), err::SubscriptOutOfRange);
    state.ProcIndex = {{"Foo", 1, 2}};
    EXPECT_EQ(FailureOf([&] { Convert("_Declarations_", 2, 2); }), err::SubscriptOutOfRange);
    state.ProcIndex.clear(); // released
    EXPECT_EQ(FailureOf([&] { ConvertAll(); }), err::SubscriptOutOfRange);
    state.ProcIndex = {{"Foo", 1, 2}};

    state.CurrentModuleName = "Module9";
    EXPECT_EQ(FailureOf([&] { ConvertAll(); }), err::SubscriptOutOfRange);
    state.CurrentModuleName = "M";

    std::int32_t first = 1;
    std::int32_t last = 2;
    EXPECT_EQ(FailureOf([&] { ConvertToHtml(nullptr, "*", first, last, false); }), err::ObjectNotSet);

    ASSERT_EQ(FailureOf([&] { ConvertAll(); }), std::nullopt);
}

// Repeated lookups answer exactly as the table does, whatever the words' lengths.
TEST_F(ConverterTest, KeywordsAreWhatTheTableHolds)
{
    Load("M",
         {"Abcdefgh Abcdefgx Abcdefgh Application.ScreenUpdating Application.ScreenUpdatinG "
          "Application.ScreenUpdating Workbooks.Item.Worksheets.Count.Value Workbooks.Item.Worksheets.Count.ValuE "
          "Workbooks.Item.Worksheets.Count.Value"},
         {{"P", 1, 1}});
    for (const char* key : {"Abcdefgh", "Application.ScreenUpdating", "Workbooks.Item.Worksheets.Count.Value"})
        ModHtml().Keywords->Add(key, 1);
    EXPECT_EQ(
        Convert("P", 1, 1),
        R"(<div class="CodeArea"><p id="P"><span class="Deco3">Abcdefgh</span> <span class="Deco5">Abcdefgx</span> <span class="Deco3">Abcdefgh</span> )"
        R"(<span class="Deco3">Application.ScreenUpdating</span> <span class="Deco5">Application.ScreenUpdatinG</span> )"
        R"(<span class="Deco3">Application.ScreenUpdating</span> <span class="Deco3">Workbooks.Item.Worksheets.Count.Value</span> )"
        R"(<span class="Deco5">Workbooks.Item.Worksheets.Count.ValuE</span> <span class="Deco3">Workbooks.Item.Worksheets.Count.Value</span></p></div>)");
}

TEST_F(ConverterTest, MissingKeywordTableFailsAtTheFirstLookup)
{
    Load("M", {"' only a comment", "", "x = 1"}, {{"P", 1, 3}});
    ModHtml().Keywords.reset();
    EXPECT_EQ(Convert("P", 1, 2),
              Join({R"(<div class="CodeArea"><p id="P"><span class="Deco1">' only a comment</span>)", "</p></div>"}));
    try {
        Convert("P", 1, 3);
        ADD_FAILURE() << "converted without a keyword table";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::ObjectNotSet);
        EXPECT_EQ(e.Place().line, 3);
    }
}

} // namespace
} // namespace quillmark::test
