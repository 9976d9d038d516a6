// Names to links, and names to file names and hrefs.
#include "cli/StyleSheet.h"
#include "cli/site/CaseKey.h"
#include "cli/site/CodeLinker.h"
#include "cli/site/Exclusions.h"
#include "cli/site/SitePaths.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>

namespace quillmark::cli {
namespace {

SiteModule Module(std::string name, std::int32_t type, std::string page, std::vector<SiteProcedure> procedures)
{
    SiteModule module;
    module.name = std::move(name);
    module.type = type;
    module.page = std::move(page);
    module.procedures = std::move(procedures);
    return module;
}

SiteProcedure Public(std::string name, std::int32_t kind = vbext_pk::Proc, std::int32_t line = 0)
{
    return {{std::move(name), 1, 1, kind}, false, line, {}};
}

SiteProcedure Private(std::string name)
{
    return {{std::move(name), 1, 1, vbext_pk::Proc}, true, 0, {}};
}

std::string Name(std::string_view name)
{
    return "<span class=\"Deco5\">" + std::string(name) + "</span>";
}

std::string Keyword(std::string_view keyword)
{
    return "<span class=\"Deco3\">" + std::string(keyword) + "</span>";
}

// The lines converted for a page of module in project. Without an index the lines make one
// declarations block, whose markers are left out.
std::string Linked(const SiteProject& project, std::size_t module, const std::vector<std::string>& lines,
                   bool lineNumbers, ProcedureIndex index = {})
{
    const bool wrapped = index.empty();
    if (wrapped)
        index.push_back({"", 0, 0});
    const ModuleText text = ModuleText::FromLines(lines);
    const auto keywords = MakeKeywordTable();
    const ProjectProcedures procedures(project);
    std::string out;
    const LineMarks marks(lineNumbers, index);
    CodeLinker linker([&](const NameUse& use) { return LinkOf(procedures, project, module, use); }, marks, out);
    const auto count = static_cast<std::int32_t>(lines.size());
    ConvertRange(ModuleView{"M", text, index, count}, keywords.get(), Entry{}, 1, count, linker);
    const std::string opener = "<div class=\"CodeArea\"><p id=\"M.Declarations\">";
    const std::string closer = "</p></div>";
    if (wrapped && out.starts_with(opener) && out.ends_with(closer))
        return out.substr(opener.size(), out.size() - opener.size() - closer.size());
    return out;
}

TEST(CodeLinker, NamesOfProceduresLinkToWhereVbaFindsThem)
{
    SiteProject project;
    project.modules = {
        Module("Main", 1, "P/Main.html", {Public("Go"), Private("Helper"), Public("Jan")}),
        Module("Util", 1, "P/lib/Util.html",
               {Public("Format", vbext_pk::Proc, 12), Private("Secret"), Public("Common")}),
        Module("Other", 1, "P/Other.html", {Public("Common")}),
        Module(
            "Thing", 2, "P/Thing.html",
            {Public("Property Let Size", vbext_pk::Let), Public("Property Get Size", vbext_pk::Get), Public("Grow")}),
        Module("集計", 1, "P/集計.html", {Public("月次集計")}),
    };
    const std::string helper = "<a href=\"#Helper\">Helper</a>";
    const std::string format = "<a href=\"lib/Util.html#L12\">Format</a>";
    const std::string util = "<a href=\"lib/Util.html\">Util</a>";
    const std::string thing = "<a href=\"Thing.html\">Thing</a>";
    const struct {
        std::size_t module;
        std::vector<std::string> lines;
        std::string linked;
        ProcedureIndex index = {};
    } cases[] = {
        {0, {"Helper format"}, Name(helper) + " " + Name("<a href=\"lib/Util.html#L12\">format</a>")},
        {0, {"Util.Format(Util.Secret)"}, Name(util + "." + format) + "(" + Name(util + ".Secret") + ")"},
        {0,
         {"Secret Common Thing.Grow .Format x.Format Main.Go"},
         Name("Secret") + " " + Name("Common") + " " + Name(thing + ".Grow") + " " + Name(".Format") + " " +
             Name("x.Format") + " " + Name("Main.<a href=\"#Go\">Go</a>")},
        // A type ("As", "New", "Implements", "TypeOf x Is") is a module whatever variable is named like it; a variable
        // shadows a module (Util) and a procedure (Format) in its procedure, and one of the declarations in every
        // procedure (Other). A Declare's or an Event's parameters name nothing.
        {0,
         {"Implements Thing", "Private Other As Thing", "Private Declare Sub Sleep Lib \"k\" (ByVal Go As Long)",
          "Public Event Done(Util As Thing)", "Sub Helper()", "Dim thing As New Thing, Util As Object, Format",
          "Util.Format thing Other Format", "If TypeOf Util Is Thing Then Go Util", "Sub Go()", "Util.Format Other"},
         "<div class=\"CodeArea\"><p id=\"M.Declarations\">" + Keyword("Implements") + " " + Name(thing) + "\n" +
             Keyword("Private") + " " + Name("Other") + " " + Keyword("As") + " " + Name(thing) + "\n" +
             Keyword("Private") + " " + Keyword("Declare") + " " + Keyword("Sub") + " " + Name("Sleep") + " " +
             Keyword("Lib") + " <span class=\"Deco2\">\"k\"</span> (" + Keyword("ByVal") + " " + Name("Go") + " " +
             Keyword("As") + " " + Keyword("Long") + ")\n" + Keyword("Public") + " " + Keyword("Event") + " " +
             Name("Done") + "(" + Name("Util") + " " + Keyword("As") + " " + Name(thing) +
             ")</p></div>\n<div class=\"CodeArea\"><p id=\"Helper\">" + Keyword("Sub") + " " + Name("Helper") + "()\n" +
             Keyword("Dim") + " " + Name("thing") + " " + Keyword("As") + " " + Keyword("New") + " " + Name(thing) +
             ", " + Name("Util") + " " + Keyword("As") + " " + Keyword("Object") + ", " + Name("Format") + "\n" +
             Name("Util.Format") + " " + Name("thing") + " " + Name("Other") + " " + Name("Format") + "\n" +
             Keyword("If") + " " + Keyword("TypeOf") + " " + Name("Util") + " " + Keyword("Is") + " " + Name(thing) +
             " " + Keyword("Then") + " " + Name("<a href=\"#Go\">Go</a>") + " " + Name("Util") +
             "</p></div>\n<div class=\"CodeArea\"><p id=\"Go\">" + Keyword("Sub") + " " + Name("Go") + "()\n" +
             Name(util + "." + format) + " " + Name("Other") + "</p></div>",
         {{"Helper", 5, 8}, {"Go", 9, 10}}},
        {0,
         {"    Call 月次集計(1)"},
         "    " + Keyword("Call") +
             " <a href=\"%E9%9B%86%E8%A8%88.html#%E6%9C%88%E6%AC%A1%E9%9B%86%E8%A8%88\">月次集計</a>(1)"},
        {0,
         {"' Helper", "' Format", "x = \"Go\" ' Helper"},
         "<span class=\"Deco1\">' Helper\n' Format</span>\n" + Name("x") +
             " = <span class=\"Deco2\">\"Go\"</span> <span class=\"Deco1\">' Helper</span>"},
        // No link inside a Rem statement, a comment that goes on, or a date literal.
        {0,
         {"Rem Helper", "t = #Jan 1, 2000# + Jan ' Go _", "Helper Go"},
         "<span class=\"Deco1\">Rem Helper</span>\n" + Name("t") + " = #Jan 1, 2000# + " +
             Name("<a href=\"#Jan\">Jan</a>") +
             " <span class=\"Deco1\">' Go _</span>\n<span class=\"Deco1\">Helper Go</span>"},
        {0,
         {"Go: GoTo Go"},
         "<span class=\"Deco4\">Go:</span> " + Keyword("GoTo") + " <span class=\"Deco4\">Go</span>"},
        {0, {"Go Helper:=1"}, Name("<a href=\"#Go\">Go</a>") + " " + Name("Helper") + ":=1"},
        // A bracketed name is one name: the words inside it mean nothing alone.
        {0,
         {"Call [Go] x.[Go 'Helper] = ['Helper' \"Go]"},
         Keyword("Call") + " <a href=\"#Go\">[Go]</a> " + Name("x.[Go 'Helper]") + " = ['Helper' \"Go]"},
        {0, {"x = &H1F & Go"}, Name("x") + " = &amp;H1F &amp; " + Name("<a href=\"#Go\">Go</a>")},
        {3,
         {"Me.Size = Size"},
         Name("Me.<a href=\"#Property%20Get%20Size\">Size</a>") + " = " +
             Name("<a href=\"#Property%20Get%20Size\">Size</a>")},
        // Declared names and the block's parameters and variables stay plain, in that block only.
        {0,
         {"Private Sub Helper(ByVal Format As Long, _", "    Go)", "    Dim a As Thing, Common", "Format Go Common",
          "Format"},
         "<div class=\"CodeArea\"><p id=\"Helper\">" + Keyword("Private") + " " + Keyword("Sub") + " " +
             Name("Helper") + "(" + Keyword("ByVal") + " " + Name("Format") + " " + Keyword("As") + " " +
             Keyword("Long") + ", _\n" + "    " + Name("Go") + ")\n" + "    " + Keyword("Dim") + " " + Name("a") + " " +
             Keyword("As") + " " + Name(thing) + ", " + Name("Common") + "\n" + Name("Format") + " " + Name("Go") +
             " " + Name("Common") + "</p></div>\n" + "<div class=\"CodeArea\"><p id=\"Go\">" + Name(format) +
             "</p></div>",
         {{"Helper", 1, 4}, {"Go", 5, 5}}},
        {0,
         {"Property Get Go()", "Set Go = Helper"},
         Keyword("Property") + " " + Keyword("Get") + " " + Name("Go") + "()\n" + Keyword("Set") + " " +
             Name("<a href=\"#Go\">Go</a>") + " = " + Name(helper)},
    };
    // Each line's anchor is another test's concern.
    const std::regex anchors("<a id=\"L[0-9]+\"></a>");
    for (const auto& c : cases)
        EXPECT_EQ(std::regex_replace(Linked(project, c.module, c.lines, false, c.index), anchors, ""), c.linked)
            << c.lines.front();
}

// Every line has its anchor, after the blocks that open on it and inside a comment's span; with
// numbers shown the anchor is a link to itself. An anchor that a procedure's block has already
// is left to the procedure.
TEST(CodeLinker, EveryLineHasItsAnchorAfterItsBlockOpeners)
{
    SiteProject project;
    project.modules = {Module("M", 1, "P/M.html", {Public("y")})};
    const auto line = [](int n, bool numbered) {
        const std::string id = "L" + std::to_string(n);
        return numbered ? "<a class=\"Ln\" id=\"" + id + "\" href=\"#" + id + "\"></a>" : "<a id=\"" + id + "\"></a>";
    };
    for (const bool numbered : {false, true}) {
        EXPECT_EQ(Linked(project, 0, {"x", "' a", "' b", ""}, numbered, {{"A", 1, 1}, {"B", 2, 4}}),
                  "<div class=\"CodeArea\"><p id=\"A\">" + line(1, numbered) + Name("x") +
                      "</p></div>\n<div class=\"CodeArea\"><p id=\"B\">" + line(2, numbered) +
                      "<span class=\"Deco1\">' a\n" + line(3, numbered) + "' b</span>\n" + line(4, numbered) +
                      "</p></div>")
            << numbered;
        const std::string unanchored = numbered ? "<span class=\"Ln\"></span>" : "";
        EXPECT_EQ(Linked(project, 0, {"x", "", "Sub L2()", "End Sub"}, numbered, {{"L2", 1, 2}, {"L1", 3, 4}}),
                  "<div class=\"CodeArea\"><p id=\"L2\">" + unanchored + Name("x") + "\n" + unanchored +
                      "</p></div>\n<div class=\"CodeArea\"><p id=\"L1\">" + line(3, numbered) + Keyword("Sub") + " " +
                      Name("L2") + "()\n" + line(4, numbered) + Keyword("End") + " " + Keyword("Sub") + "</p></div>")
            << numbered;
    }
}

TEST(SitePaths, NamesBecomeSafeFileNames)
{
    const struct {
        std::string name;
        std::string extension;
        std::string file;
    } cases[] = {
        {"Module1", ".html", "Module1.html"},
        {"受注集計", "", "受注集計"},
        {"../etc/passwd", "", "_._etc_passwd"},
        {"..", "", "__"},
        {".", ".html", "_.html"},
        {"a\\b:c*d?\"<>|#%", "", "a_b_c_d_______"},
        {"tab\tbell\x07"
         "del\x7F"
         "c1\xC2\x85"
         "nbsp\xC2\xA0",
         "", "tab_bell_del_c1_nbsp\xC2\xA0"},
        {".hidden", "", "_hidden"},
        {"Book 1.xlsm", "", "Book 1.xlsm"},
        {"", ".html", "_.html"},
        {"trailing.", "", "trailing_"},
        {"trailing ", ".html", "trailing_.html"},
        {"CON", ".html", "CON_.html"},
        {"nul.tar.gz", "", "nul_.tar.gz"},
        {"Lpt9 .x", "", "Lpt9_ .x"},
        {"com1", "-2.html", "com1_-2.html"},
        {"COM0", "", "COM0_"},
        {"lpt0.txt", "", "lpt0_.txt"},
        {"COM\u00B9", ".html", "COM\u00B9_.html"},
        {"Lpt\u00B3.x", "", "Lpt\u00B3_.x"},
        {"COM\u2074", "", "COM\u2074"},
        {"COM10", "", "COM10"},
        {"CONSOLE", "", "CONSOLE"},
        {"AUX_", "", "AUX_"},
        {std::string(149, 'a') + "日本", ".html", std::string(149, 'a') + "日本.html"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeFileName(c.name, c.extension), c.file) << c.name;
}

// A long name is cut on a character's edge to 255 bytes with its extension, and keeps a hash of
// the whole name: a folder of CP1252 names of 250 bytes becomes 500 bytes of UTF-8.
TEST(SitePaths, LongNamesAreCutToUniqueFileNames)
{
    const std::string e = "\xC3\xA9";
    std::string longest;
    for (const std::string& tail : {std::string("1"), std::string("2")}) {
        for (const std::string& name : {std::string(300, 'a') + tail, std::string(260, 'a') + ".x" + tail}) {
            for (const std::string_view extension : {"", ".html", "-12.html"}) {
                const std::string file = SafeFileName(name, extension);
                EXPECT_EQ(file.size(), 255u) << name << extension;
                EXPECT_TRUE(file.ends_with(extension)) << file;
                EXPECT_EQ(file.substr(0, 200), name.substr(0, 200));
                EXPECT_NE(file, SafeFileName(name.substr(0, name.size() - 1) + "3", extension));
            }
        }
        const std::string accents = [&] {
            std::string text;
            for (int i = 0; i < 250; ++i)
                text += e;
            return text + tail;
        }();
        const std::string file = SafeFileName(accents, ".html");
        EXPECT_LE(file.size(), 255u);
        EXPECT_EQ(file.substr(0, file.find('~')).size() % 2, 0u) << "a character is split";
        EXPECT_NE(file, longest);
        longest = file;
    }
    EXPECT_EQ(SafeFileName(std::string(250, 'b'), ".html"), std::string(250, 'b') + ".html");
}

// Windows and macOS disks compare names ignoring case, Unicode's: these must not become two files.
TEST(SitePaths, CaseKeysJoinEveryCaseFormOfAName)
{
    const struct {
        std::string a;
        std::string b;
        bool same;
    } cases[] = {
        {"Ärger.html", "ärger.HTML", true},
        {"Kelvin",
         "\xE2\x84\xAA"
         "elvin",
         true}, // the Kelvin sign
        {"ΣΊΣΥΦΟΣ", "σίσυφος", true},
        {"σ", "ς", true},
        {"Straße", "STRAẞE", true},
        {"ǅ", "ǆ", true},
        {"Дом", "дОМ", true},
        {"Ａｂｃ", "ａＢｃ", true}, // full-width letters
        {"\xFF\xFE", "\xFF\xFE", true},
        {"a", "b", false},
        {"e", "é", false},
        {"Straße", "STRASSE", false},
        {"\xFF"
         "a",
         "\xFF"
         "b",
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaseKey(c.a) == CaseKey(c.b), c.same) << c.a << " " << c.b;
}

TEST(SitePaths, HrefsAreRelativeAndPercentEncoded)
{
    const struct {
        const char* from;
        const char* to;
        const char* anchor;
        const char* href;
    } cases[] = {
        {"P/A.html", "P/A.html", "Property Get Size", "#Property%20Get%20Size"},
        {"P/A.html", "P/B.html", "", "B.html"},
        {"P/x/y/A.html", "P/x/z/B.html", "Go", "../z/B.html#Go"},
        {"P/A.html", "P/x y/受注.html", "", "x%20y/%E5%8F%97%E6%B3%A8.html"},
        {"P/x/A.html", "index.html", "", "../../index.html"},
        {"index.html", "P/A.html", "A&B", "P/A.html#A%26B"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Href(c.from, c.to, c.anchor), c.href) << c.from << " -> " << c.to;
}

TEST(SitePaths, PagesAndFoldersNeverClashIgnoringCase)
{
    std::vector<SiteProject> projects(4);
    projects[0].name = "index.html";
    projects[1].name = "Book";
    projects[2].name = "book";
    projects[3].name = "..";
    for (SiteProject& project : projects) {
        project.modules.resize(3);
        project.modules[0].name = "a.b";
        project.modules[1].name = "a_b";
        project.modules[2].name = "Mod";
        project.modules[2].folder = "a_b.html";
    }
    // Folders are made safe part by part; two folders never share one of the site.
    projects[3].modules.resize(9);
    const std::pair<const char*, const char*> modules[] = {
        {"Ärger", ""}, {"ärger", ""}, {"x", "../.."}, {"x", "a:b/CON"}, {"y", "a_b/con"}, {"z", "Dir"}, {"z", "dir"}};
    for (std::size_t i = 0; i < std::size(modules); ++i) {
        projects[3].modules[i + 2].name = modules[i].first;
        projects[3].modules[i + 2].folder = modules[i].second;
    }
    PlanPages(projects);
    EXPECT_EQ(projects[0].folder, "index.html-2");
    EXPECT_EQ(projects[1].folder, "Book");
    EXPECT_EQ(projects[2].folder, "book-2");
    EXPECT_EQ(projects[1].modules[0].page, "Book/a.b.html");
    EXPECT_EQ(projects[1].modules[1].page, "Book/a_b-2.html");
    EXPECT_EQ(projects[1].modules[2].page, "Book/a_b.html/Mod.html");
    std::vector<std::string> pages;
    for (const SiteModule& module : projects[3].modules)
        pages.push_back(module.page);
    EXPECT_EQ(pages, (std::vector<std::string>{"__/a.b.html", "__/a_b.html", "__/Ärger.html", "__/ärger-2.html",
                                               "__/__/__/x.html", "__/a_b/CON_/x.html", "__/a_b-2/con_/y.html",
                                               "__/Dir/z.html", "__/dir-2/z.html"}));
}

// The names of one path are numbered in turn, each from where the last stopped; a number that a
// name holds already is passed over.
TEST(SitePaths, ManyNamesOfOnePathAreNumberedInTurn)
{
    std::vector<SiteProject> projects(1);
    projects[0].name = "P";
    for (const char* name : {"x_-2", "x?", "x*", "X|", "x:", "x"}) {
        projects[0].modules.emplace_back();
        projects[0].modules.back().name = name;
    }
    PlanPages(projects);
    std::vector<std::string> pages;
    for (const SiteModule& module : projects[0].modules)
        pages.push_back(module.page);
    EXPECT_EQ(pages, (std::vector<std::string>{"P/x_-2.html", "P/x_.html", "P/x_-3.html", "P/X_-4.html", "P/x_-5.html",
                                               "P/x.html"}));
}

TEST(Exclusions, NamesAtAnyDepthPathsBelowTheProject)
{
    const Exclusions excluded({"*.bak.bas", "old", "/src/legacy/", "forms/?rm*"});
    const struct {
        const char* path;
        const char* pattern; // null: kept
    } cases[] = {
        {"Main.BAK.bas", "*.bak.bas"},
        {"a/b/x.bak.bas", "*.bak.bas"},
        {"x.bak.bas.txt", nullptr},
        {"Old", "old"},
        {"src/old", "old"},
        {"older", nullptr},
        {"src/legacy", "src/legacy"},
        {"a/src/legacy", nullptr},
        {"forms/frmA", "forms/?rm*"},
        {"forms/x/frmA", nullptr},
        {"forms", nullptr},
    };
    for (const auto& c : cases) {
        const std::string* pattern = excluded.Match(c.path);
        EXPECT_EQ(pattern ? *pattern : "", c.pattern ? c.pattern : "") << c.path;
    }
}

TEST(StyleSheet, EveryThemeSetsCodeInALatinMonospaceFirstAndLabelsUnlikeLinks)
{
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor}) {
        const std::string css = StyleSheet(theme);
        const std::size_t fonts = css.find("--mono:");
        ASSERT_NE(fonts, std::string::npos);
        EXPECT_LT(css.find("DejaVu Sans Mono", fonts), css.find("IPAGothic", fonts));
        const std::size_t labels = css.find(".Deco4 {");
        ASSERT_NE(labels, std::string::npos);
        EXPECT_EQ(css.substr(labels, css.find('}', labels) - labels).find("underline"), std::string::npos);
    }
}

// The fragment's own sheet styles nothing of the page around it: every selector starts at the
// code blocks, a decoration class or the numbered lines.
TEST(StyleSheet, TheFragmentsRulesStayInsideIt)
{
    const std::regex rule(R"((^|\})\s*([^{}]+)\{)");
    const std::regex fragment(R"(\s*\.(CodeArea|Deco[1-5]|Numbered)\b[^,]*)");
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor}) {
        const std::string css = FragmentStyleSheet(theme);
        std::size_t rules = 0;
        for (auto it = std::sregex_iterator(css.begin(), css.end(), rule); it != std::sregex_iterator();
             ++it, ++rules) {
            std::stringstream selectors((*it)[2].str());
            for (std::string selector; std::getline(selectors, selector, ',');)
                EXPECT_TRUE(std::regex_match(selector, fragment)) << selector;
        }
        EXPECT_GT(rules, 10u);
    }
}

// WCAG's contrast ratio of two "#rrggbb" colours.
double Contrast(const std::string& a, const std::string& b)
{
    const auto luminance = [](const std::string& hex) {
        double sum = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double c = std::stoi(hex.substr(1 + 2 * i, 2), nullptr, 16) / 255.0;
            sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// Code and its line numbers on each background that the style sheet gives code: the block's, a
// targeted block's and a targeted line's.
TEST(StyleSheet, EveryColourOfCodeStandsOutFromItsBlockAlsoWhenTargeted)
{
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor}) {
        const std::string css = StyleSheet(theme);
        const auto value = [&css](const std::string& variable) {
            const std::size_t at = css.find("--" + variable + ": #");
            return at == std::string::npos ? std::string() : css.substr(at + variable.size() + 4, 7);
        };
        // The variable after "property: var(--" in the rule of selector; empty without one.
        const auto variableOf = [&css](const std::string& selector, const std::string& property) {
            const std::size_t rule = css.find("\n" + selector + " {");
            const std::size_t end = css.find('}', rule);
            const std::size_t at = css.find(property + ": var(--", rule);
            if (rule == std::string::npos || at > end)
                return std::string();
            const std::size_t name = at + property.size() + 8;
            return css.substr(name, css.find(')', name) - name);
        };
        std::vector<std::string> colours{"plain", variableOf(".Numbered .Ln::before", "color")};
        for (std::size_t at = 0; (at = css.find(".Deco", at)) != std::string::npos; ++at) {
            const std::size_t name = css.find("color: var(--", at) + 13;
            colours.push_back(css.substr(name, css.find(')', name) - name));
        }
        ASSERT_GE(colours.size(), 7u);
        for (const char* selector : {".CodeArea", ".CodeArea p:target", ".CodeArea a:target::after"}) {
            const std::string background = variableOf(selector, "background");
            ASSERT_NE(value(background), "") << ThemeOf(theme).name << ": " << selector;
            for (const std::string& colour : colours)
                EXPECT_GE(Contrast(value(colour), value(background)), 4.5)
                    << ThemeOf(theme).name << ": " << colour << " on " << selector;
        }
    }
}

} // namespace
} // namespace quillmark::cli
