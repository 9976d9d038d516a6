// The inline-styled fragment is the Deco fragment with each class's looks in place of the
// class: read back into classes, it is the Deco fragment byte for byte.
#include "conversion/InlineStyleWriter.h"
#include "conversion/Keywords.h"
#include "conversion/LinkLists.h"

#include <gtest/gtest.h>

#include <regex>

namespace quillmark::test {
namespace {

// Turns a theme's style attributes back into the classes they stand for, failing on a look that
// is not the theme's.
std::string AsClasses(const std::string& html, ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    const auto replace = [](const std::string& text, const std::regex& pattern, auto replacement) {
        std::string out;
        std::size_t copied = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
            out.append(text, copied, it->position() - copied);
            out += replacement(*it);
            copied = it->position() + it->length();
        }
        return out + text.substr(copied);
    };
    std::string classes = replace(html, std::regex(R"re(<span style="color: (#[0-9a-f]{6})([^"]*)">)re"), [&](auto& m) {
        for (std::size_t k = 0; k < theme.deco.size(); ++k) {
            const DecoLook& look = theme.deco[k];
            if (look.colour == m[1].str()) {
                EXPECT_EQ(m[2].str(), std::string(look.bold ? "; font-weight: bold" : "") +
                                          (look.italic ? "; font-style: italic" : ""));
                return "<span class=\"Deco" + std::to_string(k + 1) + "\">";
            }
        }
        ADD_FAILURE() << "a colour of no decoration: " << m.str();
        return std::string();
    });
    classes =
        replace(classes, std::regex(R"re(<div style="([^"]*)"><p id="([^"]*)" style="([^"]*)">)re"), [&](auto& m) {
            const std::string block = m[1].str() + "; " + m[3].str();
            for (const std::string& look :
                 {std::string("white-space: pre"), std::string("monospace"), "background: " + std::string(theme.code),
                  "color: " + std::string(theme.plain), "solid " + std::string(theme.rule)})
                EXPECT_NE(block.find(look), std::string::npos) << look << " in " << block;
            EXPECT_EQ(block.find('"'), std::string::npos);
            return "<div class=\"CodeArea\"><p id=\"" + m[2].str() + "\">";
        });
    return replace(classes, std::regex(R"re(<a href="([^"]*)" style="color: (#[0-9a-f]{6})">)re"), [&](auto& m) {
        EXPECT_EQ(m[2].str(), theme.link);
        return "<a href=\"" + m[1].str() + "\">";
    });
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
