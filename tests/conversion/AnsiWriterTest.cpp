// The terminal's output: the code's own text once its escape sequences are taken out, colours
// as near as each depth has them, and the depth a terminal's variables ask for.
#include "conversion/AnsiWriter.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "conversion/TerminalColours.h"

#include <gtest/gtest.h>

#include <regex>

namespace quillmark::test {
namespace {

TEST(AnsiWriter, TheCodeIsItsTextInEveryThemeAndDepth)
{
    // Every kind of token, a comment run over lines, characters that HTML would escape, a tab.
    const std::vector<std::string> lines{
        "' a", "' b", "Sub A()", "  s = \"<&>\" ' x > y", "", "Top:\tGoTo Top", "  MsgBox Prompt:=s", "End Sub"};
    const ModuleText text = ModuleText::FromLines(lines);
    const ProcedureIndex index{{"A", 1, 8}};
    const ModuleView view{"M", text, index, text.Count()};
    const auto keywords = MakeKeywordTable();
    std::string expected;
    for (const std::string& line : lines)
        expected += line + "\n";
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor}) {
        for (const ColourDepth depth :
             {ColourDepth::None, ColourDepth::Sixteen, ColourDepth::Palette256, ColourDepth::TrueColour}) {
            OutputBuffer out;
            const LineMarking marking{false, {{3, 3}}};
            AnsiWriter writer(out, theme, depth, marking, text.Count());
            ConvertRange(view, keywords.get(), Entry{}, 1, text.Count(), writer);
            const std::string ansi = out.Take();
            EXPECT_EQ(std::regex_replace(ansi, std::regex("\x1b\\[[0-9;]*[mK]"), ""), expected);
            EXPECT_EQ(ansi.find('\x1b') == std::string::npos, depth == ColourDepth::None);
            // Each line ends in the terminal's own looks.
            EXPECT_EQ(std::regex_search(ansi, std::regex("\x1b\\[[0-9;]*[1-9][0-9;]*m\n")), false);
        }
    }
}

TEST(AnsiWriter, ColoursAreTheNearestOfEachDepth)
{
    const struct {
        const char* colour;
        ColourDepth depth;
        bool background;
        const char* parameters;
    } cases[] = {
        {"#0033b3", ColourDepth::TrueColour, false, "38;2;0;51;179"},
        {"#302e1a", ColourDepth::TrueColour, true, "48;2;48;46;26"},
        {"#000000", ColourDepth::Palette256, false, "38;5;16"},
        {"#808080", ColourDepth::Palette256, false, "38;5;244"}, // a grey, not the cube's nearest
        {"#ff8700", ColourDepth::Palette256, true, "48;5;208"},
        {"#ff0000", ColourDepth::Sixteen, false, "91"},
        {"#a31515", ColourDepth::Sixteen, false, "31"},
        {"#fff8c5", ColourDepth::Sixteen, true, "107"}, // pale: white
        {"#7ab36a", ColourDepth::Sixteen, false, "32"}, // soft, still green
        {"#5fa6e0", ColourDepth::Sixteen, false, "96"}, // light: bright
        {"#123456", ColourDepth::None, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourParameters(c.colour, c.depth, c.background), c.parameters) << c.colour;
}

TEST(AnsiWriter, TheTerminalsVariablesSetTheDepth)
{
    const struct {
        const char *noColor, *colorTerm, *term;
        ColourDepth depth;
    } cases[] = {
        {"1", "truecolor", "xterm-256color", ColourDepth::None},
        {"", "truecolor", "xterm", ColourDepth::TrueColour}, // NO_COLOR set but empty counts as unset
        {nullptr, "24bit", nullptr, ColourDepth::TrueColour},
        {nullptr, nullptr, "screen-256color", ColourDepth::Palette256},
        {nullptr, nullptr, "xterm", ColourDepth::Sixteen},
        {nullptr, nullptr, nullptr, ColourDepth::Sixteen},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourDepthOfTerminal(c.noColor, c.colorTerm, c.term), c.depth) << (c.term ? c.term : "-");
}

} // namespace
} // namespace quillmark::test
