#include "cli/StyleSheet.h"

namespace quillmark::cli {
namespace {

// The page's own rules, which the fragment's sheet leaves to the page that takes it in.
constexpr std::string_view kPage = R"(body {
  margin: 0; padding: 1.5em 2em; background: var(--page); color: var(--text); line-height: 1.5;
  font-family: system-ui, "Segoe UI", "Helvetica Neue", Arial, "Noto Sans", "IPAPGothic", Meiryo, sans-serif;
}
a { color: var(--link); }
)";

constexpr std::string_view kCodeBeforeDecorations =
    R"(.CodeArea { margin: 0 0 1em; border-left: 3px solid var(--rule); background: var(--code); }
.CodeArea p {
  margin: 0; padding: .5em 1em; white-space: pre; overflow-x: auto; color: var(--plain);
  font-family: var(--code-font); font-size: 10pt; line-height: 1.35; position: relative; z-index: 0;
}
.CodeArea p:target { background: var(--target); }
)";

// A line is no element of its own (a comment's span may run over several), so a targeted line
// is highlighted by a box behind it as wide as its block.
constexpr std::string_view kCodeAfterDecorations =
    R"(.CodeArea a { color: inherit; text-decoration: underline dotted; text-underline-offset: .2em; }
.CodeArea a:hover, .CodeArea a:focus { text-decoration-style: solid; }
.Numbered { counter-reset: line; }
.Numbered .Ln::before {
  counter-increment: line; content: counter(line); display: inline-block; min-width: 4ch;
  margin-right: 1.5ch; text-align: right; color: var(--muted); font-style: normal; font-weight: normal;
  user-select: none;
}
.CodeArea .Ln { text-decoration: none; }
.CodeArea a[id] { scroll-margin-top: 30vh; }
.CodeArea a:target { outline: none; }
.CodeArea a:target::after {
  content: ""; position: absolute; left: 0; right: 0; height: 1lh; z-index: -1; background: var(--target);
}
)";

// A marked line, as a targeted one, has a box behind it as wide as its block.
constexpr std::string_view kMarkedLines = R"(.CodeArea .Marked {
  position: absolute; left: 0; right: 0; height: 1lh; z-index: -1; background: var(--target);
}
)";

// The index's lists of modules are laid out only near the view, so that the search box can show
// and hide tens of thousands of modules at a keystroke; being laid out on their own, they keep
// the spaces between modules inside.
constexpr std::string_view kSite = R"(.Trail { color: var(--muted); font-size: .9em; }
h1 { font-size: 1.5em; margin: .3em 0 .6em; }
.Type {
  font-family: var(--code-font); font-size: .75em; font-weight: normal; color: var(--muted);
  border: 1px solid var(--rule); border-radius: 3px; padding: 0 .3em; vertical-align: middle;
}
.Jumps ul { columns: 18em; margin: 0 0 1.5em; padding-left: 1.2em; }
#search {
  font: inherit; width: min(100%, 30em); padding: .35em .6em; margin: 0 0 1em;
  border: 1px solid var(--rule); border-radius: 4px; background: var(--page); color: var(--text);
}
.Project h2 { font-size: 1.25em; border-bottom: 1px solid var(--rule); padding-bottom: .2em; }
.Modules { list-style: none; padding: 0; margin: 0; content-visibility: auto; contain-intrinsic-size: auto 500em; }
.Module { padding: .35em 0; }
h1, .Project { overflow-wrap: anywhere; }
.Module > a { font-weight: 600; }
.Folder, .Counts { color: var(--muted); }
.Counts { font-size: .9em; }
.Procedures { columns: 20em; margin: .2em 0 0; padding-left: 1.5em; font-family: var(--code-font); font-size: .9em; }
.NoMatch { color: var(--muted); }
.Problem { border-left: 3px solid var(--string); padding-left: .6em; }
.Excluded { color: var(--muted); margin: 0 0 .5em; }
.Contents ul { margin: 0 0 1em; padding-left: 1.2em; }
.Contents ul ul { margin: 0; columns: 18em; font-size: .9em; }
.UsedBy { color: var(--muted); font-size: .85em; padding: 0 1em .4em; }
)";

// A rule between procedures instead of a bar beside each, as in the editor's code window.
constexpr std::string_view kEditorBlocks =
    ".CodeArea { border-left: 0; border-top: 1px solid var(--rule); margin: 0; }\n";

std::string Colour(std::string_view name, std::string_view value)
{
    return "--" + std::string(name) + ": " + std::string(value) + ";";
}

std::string CodeFont(const Theme& theme)
{
    return "color-scheme: " + std::string(theme.colourScheme) + "; --code-font: " + std::string(theme.codeFontFirst) +
           "var(--mono);\n  ";
}

std::string CodeColours(const Theme& theme)
{
    std::string css =
        Colour("code", theme.code) + " " + Colour("target", theme.target) + "\n  " + Colour("plain", theme.plain);
    for (std::size_t i = 0; i < theme.deco.size(); ++i)
        css += (i == 4 ? "\n  " : " ") + Colour(theme.deco[i].colourName, theme.deco[i].colour);
    return css + "\n}\n";
}

// The rules of the code blocks, their classes, links and line numbers.
std::string CodeRules(ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    std::string css(kCodeBeforeDecorations);
    for (std::size_t i = 0; i < theme.deco.size(); ++i) {
        const DecoLook& look = theme.deco[i];
        css += ".Deco" + std::to_string(i + 1) + " { color: var(--" + std::string(look.colourName) + ");";
        if (look.bold)
            css += " font-weight: bold;";
        if (look.italic)
            css += " font-style: italic;";
        if (i == 3)
            css += " text-decoration: none;"; // a label is no link
        css += " }\n";
    }
    css += kCodeAfterDecorations;
    return css;
}

} // namespace

std::string StyleSheet(ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    std::string css = ":root {\n  --mono: " + std::string(kMonospaceFonts) + ";\n}\n";
    css += ":root {\n  " + CodeFont(theme);
    css += Colour("page", theme.page) + " " + Colour("text", theme.text) + " " + Colour("muted", theme.muted) + " " +
           Colour("link", theme.link) + " " + Colour("rule", theme.rule) + "\n  ";
    css += CodeColours(theme);
    css += kPage;
    css += CodeRules(name);
    css += kSite;
    if (name == ThemeName::Editor)
        css += kEditorBlocks;
    return css;
}

std::string FragmentStyleSheet(ThemeName name)
{
    // The colours are the code blocks' own, not the page's.
    const Theme& theme = ThemeOf(name);
    std::string css = ".CodeArea {\n  --mono: " + std::string(kMonospaceFonts) + ";\n  " + CodeFont(theme);
    css += Colour("muted", theme.muted) + " " + Colour("rule", theme.rule) + "\n  ";
    css += CodeColours(theme);
    css += CodeRules(name);
    css += kMarkedLines;
    if (name == ThemeName::Editor)
        css += kEditorBlocks;
    return css;
}

std::string_view MarkedLinesRule()
{
    return kMarkedLines;
}

} // namespace quillmark::cli
