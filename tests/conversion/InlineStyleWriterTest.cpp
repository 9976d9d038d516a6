// The inline-styled fragment is the Deco fragment with each class's looks in place of the
// class: read back into classes, it is the Deco fragment byte for byte.
#include "conversion/InlineStyleWriter.h"
#include "conversion/Keywords.h"
#include "conversion/LinkLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace quillmark::test {
namespace {

// Turns a theme's style attributes back into the classes they stand for: a span's by its colour
// (each decoration has its own); the looks themselves are compared in a browser.
std::string AsClasses(const std::string& html, ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    const std::regex tag(
        R"re(<span style="color: (#[0-9a-f]{6})[^"]*">|<div style="[^"]*"><p id="([^"]*)" style="[^"]*">|<a href="([^"]*)" style="[^"]*">)re");
    std::string out;
    std::size_t copied = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        out.append(html, copied, m.position() - copied);
        copied = m.position() + m.length();
        if (m[2].matched) {
            out += "<div class=\"CodeArea\"><p id=\"" + m[2].str() + "\">";
        } else if (m[3].matched) {
            out += "<a href=\"" + m[3].str() + "\">";
        } else {
            const auto look = std::find_if(theme.deco.begin(), theme.deco.end(),
                                           [&](const DecoLook& deco) { return deco.colour == m[1].str(); });
            out += "<span class=\"Deco" + std::to_string(look - theme.deco.begin() + 1) + "\">";
        }
    }
    return out + html.substr(copied);
}

TEST(InlineStyleWriter, EveryThemeWritesTheDecoFragmentWithItsLooks)
{
    // Every kind of token, code to escape, a comment run, a label, blank lines, names to escape
    // in ids and links, and a module without procedures (its list's empty line).
    const struct {
        std::vector<std::string> lines;
        ProcedureIndex index;
    } modules[] = {
        {{"Option Explicit", "' a", "' b", "Sub A&B()", "  s = \"<&>\" ' x > y", "", "Top: GoTo Top",
          "  MsgBox Prompt:=s", "End Sub", "Property Get Size() As Long", "End Property"},
         {{"A&B", 2, 9}, {"Property Get Size", 10, 11, vbext_pk::Get}}},
        {{"x = 1", "", "y = x <> 2"}, {{"", 0, 0}}},
    };
    const auto keywords = MakeKeywordTable();
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor}) {
        for (const auto& module : modules) {
            const ModuleText text = ModuleText::FromLines(module.lines);
            const ModuleView view{"M", text, module.index, text.Count()};
            for (const Entry& entry : {Entry{}, Entry{Entry::Kind::Declarations, {}}}) {
                const auto range = std::pair{1, entry.kind == Entry::Kind::WholeModule ? text.Count() : 1};
                for (const Links links : {Links::Without, Links::With}) {
                    SCOPED_TRACE(std::string(ThemeOf(theme).name) + " " + module.lines.front() + " " + entry.Text() +
                                 (links == Links::With ? " links" : ""));
                    LinkListMaker list;
                    if (links == Links::With)
                        list = [&] { return LinkList("M", module.index, entry); };
                    const std::string inlined =
                        ConvertWithInlineStyles(view, keywords.get(), entry, range.first, range.second, theme, links);
                    EXPECT_EQ(inlined.find("class="), std::string::npos);
                    EXPECT_EQ(AsClasses(inlined, theme),
                              ConvertRange(view, keywords.get(), entry, range.first, range.second, list));
                }
            }
        }
    }
}

} // namespace
} // namespace quillmark::test
