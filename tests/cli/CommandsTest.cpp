#include "cli/Commands.h"
#include "cli/LineMarks.h"
#include "cli/StyleSheet.h"

#include "modhtml/ModHtml.h"

#include "common/FileText.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

namespace quillmark::cli {
namespace {

using testing::TempFolder;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Call(int (*command)(const Options&, std::ostream&, std::ostream&), const Options& options)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(options, out, err);
    return {status, out.str(), err.str()};
}

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() : folder("commands")
    {
        folder.Write("Alpha.bas", "Attribute VB_Name = \"Alpha\"\r\n"
                                  "Option Explicit\r\n"
                                  "\r\n"
                                  "Sub Foo()\r\n"
                                  "  x = 1 ' t\r\n"
                                  "End Sub\r\n");
        folder.Write("Beta.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                                 "Attribute VB_Name = \"Beta\"\r\n"
                                 "Private m As Long\r\n"
                                 "Property Get Size() As Long\r\n"
                                 "    Size = m\r\n"
                                 "End Property\r\n"
                                 "Property Let Size(v As Long)\r\n"
                                 "    m = v\r\n"
                                 "End Property\r\n"
                                 "Sub Bad()\r\n"
                                 "    s = \"open\r\n"
                                 "End Sub\r\n");
    }

    Options For(const std::string& module = {}, const std::string& entry = "*")
    {
        Options options;
        options.paths = {folder.Path()};
        options.module = module;
        options.entry = entry;
        return options;
    }

    TempFolder folder;
};

TEST_F(CommandsTest, ListShowsModulesThenProcedureRanges)
{
    const Outcome modules = Call(List, For());
    EXPECT_EQ(modules.status, kDone);
    EXPECT_EQ(modules.out, "MOD Alpha\nCLS Beta\n");
    EXPECT_EQ(modules.err, "");

    const Outcome procedures = Call(List, For("Beta"));
    EXPECT_EQ(procedures.status, kDone);
    EXPECT_EQ(procedures.out, "*\t1\t10\n"
                              "_Declarations_\t1\t1\n"
                              "Property Get Size\t2\t4\n"
                              "Property Let Size\t5\t7\n"
                              "Bad\t8\t10\n");
}

TEST_F(CommandsTest, SourceWritesTheEntrysLines)
{
    const Outcome run = Call(Source, For("Beta", "Property Let Size"));
    EXPECT_EQ(run.status, kDone);
    EXPECT_EQ(run.out, "Property Let Size(v As Long)\r\n    m = v\r\nEnd Property");
}

// Entries are found as the editor compares names, and by a procedure's own name when only one
// procedure has it; what is not found is answered with what exists.
TEST_F(CommandsTest, EntriesAreFoundCaseInsensitivelyAndByTheirOwnName)
{
    const struct {
        const char* entry;
        const char* source; // the entry's first line, or a part of the message
        int status;
    } cases[] = {
        {"property let size", "Property Let Size(v As Long)", kDone},
        {"bad", "Sub Bad()", kDone},
        {"_DECLARATIONS_", "Private m As Long", kDone},
        {"Size", "\"Size\" names more than one procedure: Property Get Size, Property Let Size", kFailed},
        {"Nope", "no entry \"Nope\"; the entries are *, _Declarations_, Property Get Size, Property Let Size, Bad",
         kFailed},
    };
    for (const auto& c : cases) {
        const Outcome run = Call(Source, For("Beta", c.entry));
        EXPECT_EQ(run.status, c.status) << c.entry;
        EXPECT_NE((c.status == kDone ? run.out : run.err).find(c.source), std::string::npos) << c.entry << run.err;
    }
    const Outcome unknown = Call(Convert, For("Beta", "Nope"));
    EXPECT_NE(unknown.err.find("(quillmark list --module Beta " + folder.Path() + " lists them"), std::string::npos)
        << unknown.err;
    EXPECT_NE(Call(List, For("Gamma")).err.find("its modules are Alpha, Beta"), std::string::npos);
}

TEST_F(CommandsTest, ConvertSaysWhichOfSeveralModulesItGave)
{
    EXPECT_EQ(Call(Convert, For()).err, "quillmark: converted module Alpha, the first of 2 modules; choose another "
                                        "with --module NAME (quillmark list " +
                                            folder.Path() +
                                            " lists them) or convert them all with quillmark site -o "
                                            "DIR " +
                                            folder.Path() + "\n");
    EXPECT_EQ(Call(Convert, For("Alpha")).err, "");
}

// A command works on the first project; the others given are named, with the way to have them,
// and the command still succeeds.
TEST_F(CommandsTest, CommandsNameTheProjectsTheyLeaveAlone)
{
    const std::string alpha = folder.Path() + "/Alpha.bas";
    const std::string beta = folder.Path() + "/Beta.cls";
    const std::string works = " works on the first project, " + alpha + "; run one ";
    const struct {
        int (*command)(const Options&, std::ostream&, std::ostream&);
        std::vector<std::string> paths;
        std::string note;
    } cases[] = {
        {Convert,
         {alpha, beta, folder.Path()},
         "not converted: " + beta + ", " + folder.Path() + " (convert" + works +
             "convert for each project, or convert them all with quillmark site -o DIR " + alpha + " " + beta + " " +
             folder.Path() + ")"},
        {Source, {alpha, beta}, "not printed: " + beta + " (source" + works + "source for each project)"},
        {List, {alpha, beta}, "not listed: " + beta + " (list" + works + "list for each project)"},
    };
    for (const auto& c : cases) {
        Options several = For();
        several.paths = c.paths;
        Options first = For();
        first.paths = {alpha};
        const Outcome run = Call(c.command, several);
        EXPECT_EQ(run.status, kDone) << c.note;
        EXPECT_EQ(run.out, Call(c.command, first).out) << c.note;
        EXPECT_EQ(run.err, "quillmark: " + c.note + "\n");
    }
}

TEST_F(CommandsTest, ConvertWritesExactlyTheFragment)
{
    const Outcome run = Call(Convert, For("Alpha", "Foo"));
    EXPECT_EQ(run.status, kDone);
    // The blank line after the declarations belongs to Foo.
    EXPECT_EQ(run.out, "<div class=\"CodeArea\"><p id=\"Foo\">\r\n<span class=\"Deco3\">Sub</span> "
                       "<span class=\"Deco5\">Foo</span>()\r\n"
                       "  <span class=\"Deco5\">x</span> = 1 <span class=\"Deco1\">' t</span>\r\n"
                       "<span class=\"Deco3\">End</span> <span class=\"Deco3\">Sub</span></p></div>");
    EXPECT_EQ(run.err, "");
}

TEST_F(CommandsTest, ConvertToAFileReplacesItOnlyWhenTheConversionSucceeds)
{
    const std::string file = folder.Write("out.html", "old");
    Options options = For("Alpha", "Foo");
    options.output = file;
    std::ostringstream err;
    EXPECT_EQ(ConvertToFile(options, err), kDone);
    EXPECT_EQ(testing::ReadFileText(file), Call(Convert, For("Alpha", "Foo")).out);

    for (const char* entry : {"Nope", "Bad"}) {
        folder.Write("out.html", "old");
        options = For("Beta", entry);
        options.output = file;
        EXPECT_EQ(ConvertToFile(options, err), kFailed) << entry;
        EXPECT_EQ(testing::ReadFileText(file), "old") << entry;
    }
    options = For("Alpha", "Foo");
    options.output = folder.Path() + "/sub"; // a folder cannot become the file
    std::filesystem::create_directory(options.output);
    std::ostringstream refused;
    EXPECT_EQ(ConvertToFile(options, refused), kFailed);
    EXPECT_EQ(refused.str(), "quillmark: cannot write " + options.output + ": Is a directory\n");
}

TEST_F(CommandsTest, ConvertPageWrapsTheUnchangedFragment)
{
    Options options = For("Alpha", "Foo");
    const Outcome fragment = Call(Convert, options);
    options.page = true;
    const Outcome page = Call(Convert, options);
    EXPECT_EQ(page.status, kDone);
    EXPECT_EQ(page.out.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.out.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.out.find(".Deco1"), std::string::npos);
    EXPECT_NE(page.out.find(fragment.out), std::string::npos);
}

// The page's title (escaped, as heading and as <title>), its theme's style sheet, and its lines
// numbered from the entry's first line, each line's number a link to its anchor; stripped of the
// numbers, the fragment is the one convert writes.
TEST_F(CommandsTest, ConvertPageTakesItsTitleThemeAndLineNumbers)
{
    const std::string project = std::filesystem::path(folder.Path()).filename().string();
    const struct {
        std::string title;
        ThemeName theme;
        bool lineNumbers;
        bool links;
        std::string shown; // the title as the page holds it
    } cases[] = {
        {"", ThemeName::Light, false, false, "Alpha — " + project},
        {"<script>alert(\"&\")</script>", ThemeName::Dark, true, true,
         "&lt;script&gt;alert(&quot;&amp;&quot;)&lt;/script&gt;"},
        {"", ThemeName::Editor, true, false, "Alpha — " + project},
    };
    const std::regex number("<a class=\"Ln\" id=\"L([0-9]+)\" href=\"#L\\1\"></a>");
    for (const auto& c : cases) {
        Options options = For("Alpha", "Foo");
        options.links = c.links;
        const std::string fragment = Call(Convert, options).out;
        options.page = true;
        options.title = c.title;
        options.theme = c.theme;
        options.lineNumbers = c.lineNumbers;
        const Outcome page = Call(Convert, options);
        EXPECT_EQ(page.status, kDone) << c.shown;
        EXPECT_NE(page.out.find("<title>" + c.shown + "</title>"), std::string::npos) << c.shown;
        EXPECT_NE(page.out.find("<h1>" + c.shown + "</h1>"), std::string::npos) << c.shown;
        EXPECT_NE(page.out.find(StyleSheet(c.theme)), std::string::npos) << c.shown;
        std::vector<std::string> numbers;
        for (auto it = std::sregex_iterator(page.out.begin(), page.out.end(), number); it != std::sregex_iterator();
             ++it)
            numbers.push_back((*it)[1]);
        const std::vector<std::string> lines{"2", "3", "4", "5"};
        EXPECT_EQ(numbers, c.lineNumbers ? lines : std::vector<std::string>{}) << c.shown;
        EXPECT_EQ(page.out.find("<main class=\"Numbered\" style=\"counter-reset: line 1\">") != std::string::npos,
                  c.lineNumbers)
            << c.shown;
        EXPECT_NE(std::regex_replace(page.out, number, "").find(fragment), std::string::npos) << c.shown;
    }
}

// Every output numbers the entry's lines with the module's numbers and marks the lines asked
// for; taken out again, numbers and marks leave the same format's output unnumbered.
TEST_F(CommandsTest, EveryFormatNumbersAndMarksTheModulesLines)
{
    const struct {
        std::string format;
        std::string number; // a line's number, its digits the first group
        std::string mark;   // what a marked line starts with, before its number
        std::string extra;  // what else numbering or marking adds
    } cases[] = {
        {"html", "<a class=\"Ln\" id=\"L([0-9]+)\" href=\"#L\\1\"></a>", "<span class=\"Marked\"></span>",
         "<div class=\"Numbered\" style=\"counter-reset: line 1\">\r\n|\r\n</div>"},
        {"markdown", "<a class=\"Ln\" id=\"L([0-9]+)\" href=\"#L\\1\"></a>", "<span class=\"Marked\"></span>",
         "<div class=\"Numbered\" style=\"counter-reset: line 1\">\n|\n</div>"},
        {"inline", "<span style=\"display: inline-block;[^\"]*user-select: none[^\"]*\">([0-9]+)</span>",
         "<span style=\"position: absolute;[^\"]*\"></span>", "; position: relative; z-index: 0"},
        {"ansi", "\x1b\\[38;5;[0-9]+m *([0-9]+)  \x1b\\[22;23;39m", "\x1b\\[48;5;[0-9]+m", "\x1b\\[K|\x1b\\[0m"},
    };
    for (const auto& c : cases) {
        Options options = For("Alpha", "Foo");
        options.format = c.format;
        options.colours = "256";
        const std::string plain = Call(Convert, options).out;
        options.lineNumbers = true;
        options.highlighted = {{3, 4}, {9, 9}};
        const Outcome numbered = Call(Convert, options);
        EXPECT_EQ(numbered.status, kDone) << c.format;
        const std::regex number(c.number), marked(c.mark + c.number);
        std::vector<std::string> numbers, marks;
        for (auto it = std::sregex_iterator(numbered.out.begin(), numbered.out.end(), number);
             it != std::sregex_iterator(); ++it)
            numbers.push_back((*it)[1]);
        for (auto it = std::sregex_iterator(numbered.out.begin(), numbered.out.end(), marked);
             it != std::sregex_iterator(); ++it)
            marks.push_back((*it)[1]);
        EXPECT_EQ(numbers, (std::vector<std::string>{"2", "3", "4", "5"})) << c.format;
        EXPECT_EQ(marks, (std::vector<std::string>{"3", "4"})) << c.format;
        std::string stripped = std::regex_replace(numbered.out, std::regex(c.mark + "|" + c.number), "");
        // A terminal's marked line ends reset whatever colour it ended in.
        EXPECT_EQ(std::regex_replace(stripped, std::regex(c.extra), ""),
                  c.format == "ansi" ? std::regex_replace(plain, std::regex(c.extra), "") : plain)
            << c.format;
    }
}

TEST(LineList, SpansAreSortedAndMergedAndNothingElseIsOne)
{
    using Spans = std::vector<std::pair<std::int32_t, std::int32_t>>;
    const std::pair<const char*, std::optional<Spans>> cases[] = {
        {"3,7-9", Spans{{3, 3}, {7, 9}}},
        {"9,1-2,3-5,4", Spans{{1, 5}, {9, 9}}},
        {"2147483647", Spans{{2147483647, 2147483647}}},
        {"", {}},
        {"0", {}},
        {"9-7", {}},
        {"3,", {}},
        {"3-", {}},
        {"-3", {}},
        {" 3", {}},
        {"2147483648", {}},
    };
    for (const auto& [text, expected] : cases) {
        const auto spans = ParseLineList(text);
        std::optional<Spans> got;
        if (spans) {
            got.emplace();
            for (const LineSpan& span : *spans)
                got->emplace_back(span.first, span.last);
        }
        EXPECT_EQ(got, expected) << text;
    }
}

TEST_F(CommandsTest, FailuresNameWhatFailedAndExitOne)
{
    struct Case {
        const char* what;
        int (*command)(const Options&, std::ostream&, std::ostream&);
        Options options;
        std::vector<std::string> inMessage;
    };
    Options missing = For();
    missing.paths = {folder.Path() + "/nowhere"};
    const Case cases[] = {
        {"missing path", Convert, missing, {"nowhere"}},
        {"unknown module", List, For("Gamma"), {"Gamma"}},
        {"unknown entry", Source, For("Alpha", "Nope"), {"Alpha", "Nope"}},
        {"unterminated string", Convert, For("Beta", "Bad"), {"module Beta, line 9: unterminated string literal\n"}},
    };
    for (const Case& c : cases) {
        const Outcome run = Call(c.command, c.options);
        EXPECT_EQ(run.status, kFailed) << c.what;
        EXPECT_EQ(run.out, "") << c.what;
        for (const std::string& part : c.inMessage)
            EXPECT_NE(run.err.find(part), std::string::npos) << c.what << ": " << run.err;
    }
}

// Whatever fails, where it failed decides the message and what it was the exit status: an
// encoding that no converter knows is bad usage, also when only a command sees it.
TEST_F(CommandsTest, AnEncodingNoConverterKnowsIsBadUsage)
{
    Options options = For("Alpha");
    options.encoding = "NO-SUCH";
    for (auto command : {Convert, List, Source}) {
        const Outcome run = Call(command, options);
        EXPECT_EQ(run.status, kUsage);
        EXPECT_EQ(run.err, "quillmark: " + folder.Path() +
                               "/Alpha.bas: cannot decode the text: unknown encoding "
                               "\"NO-SUCH\"\n");
    }
}

// The commands work on values of their own: the window's shared set, which the same program may
// hold for an open window, stays as it was.
TEST_F(CommandsTest, CommandsLeaveTheWindowsSharedSetAlone)
{
    ModHtml().CurrentModuleName = "Shown";
    ModHtml().ProcCount = 1;
    ModHtml().ProcIndex = {{"Shown", 1, 2}};
    for (const Options& options : {For("Beta", "Bad"), For("Alpha", "Foo"), For("Gamma")}) {
        for (auto command : {Convert, List, Source})
            Call(command, options);
    }
    EXPECT_EQ(ModHtml().CurrentModuleName, "Shown");
    EXPECT_EQ(ModHtml().ProcCount, 1);
    EXPECT_EQ(ModHtml().ProcIndex, (ProcedureIndex{{"Shown", 1, 2}}));
    ModHtml() = ModHtmlState{};
}

} // namespace
} // namespace quillmark::cli
