#include "cli/StyleSheet.h"

namespace quillmark::cli {
namespace {

// Latin monospace families come before the Japanese ones, which draw the backslash as a yen sign.
constexpr const char* kFonts = R"(:root {
  --mono: Consolas, Menlo, "DejaVu Sans Mono", "Liberation Mono", "IPAGothic", "MS Gothic",
    "Noto Sans Mono CJK JP", monospace;
}
)";

struct Colours {
    const char* variables;
    const char* extra; // after the common rules, so that it wins over them
};

constexpr Colours kLight{R"(:root {
  color-scheme: light; --code-font: var(--mono);
  --page: #ffffff; --text: #1f2328; --muted: #656d76; --link: #0b5cad; --rule: #b0b8c8;
  --code: #f6f8fa; --target: #fff8c5;
  --plain: #1f2328; --comment: #1a7f37; --string: #a31515; --keyword: #0033b3; --label: #8250df;
  --name: #00677f;
}
)",
                         ""};

constexpr Colours kDark{R"(:root {
  color-scheme: dark; --code-font: var(--mono);
  --page: #1e1f22; --text: #d4d4d4; --muted: #8b949e; --link: #6cb6ff; --rule: #3d4450;
  --code: #26282c; --target: #3b3a1e;
  --plain: #d4d4d4; --comment: #6a9955; --string: #ce9178; --keyword: #569cd6; --label: #c586c0;
  --name: #9cdcfe;
}
)",
                        ""};

// Black names on white, navy keywords and green comments, a rule between procedures; the rest
// of the code a little grey so that names still stand out.
constexpr Colours kEditor{R"(:root {
  color-scheme: light; --code-font: "Courier New", var(--mono);
  --page: #ffffff; --text: #000000; --muted: #6d6d6d; --link: #0000ee; --rule: #a0a0a0;
  --code: #ffffff; --target: #e8f0fe;
  --plain: #505050; --comment: #008000; --string: #800000; --keyword: #00007f; --label: #7f007f;
  --name: #000000;
}
)",
                          R"(.CodeArea { border-left: 0; border-top: 1px solid var(--rule); margin: 0; }
.Deco3 { font-weight: normal; }
)"};

// The index's lists of modules are laid out only near the view, so that the search box can show
// and hide tens of thousands of modules at a keystroke; being laid out on their own, they keep
// the spaces between modules inside.
constexpr const char* kCommon = R"(body {
  margin: 0; padding: 1.5em 2em; background: var(--page); color: var(--text); line-height: 1.5;
  font-family: system-ui, "Segoe UI", "Helvetica Neue", Arial, "Noto Sans", "IPAPGothic", Meiryo, sans-serif;
}
a { color: var(--link); }
.CodeArea { margin: 0 0 1em; border-left: 3px solid var(--rule); background: var(--code); }
.CodeArea p {
  margin: 0; padding: .5em 1em; white-space: pre; overflow-x: auto; color: var(--plain);
  font-family: var(--code-font); font-size: 10pt; line-height: 1.35;
}
.CodeArea p:target { background: var(--target); }
.Deco1 { color: var(--comment); }
.Deco2 { color: var(--string); }
.Deco3 { color: var(--keyword); font-weight: bold; }
.Deco4 { color: var(--label); font-style: italic; text-decoration: none; }
.Deco5 { color: var(--name); }
.CodeArea a { color: inherit; text-decoration: underline dotted; text-underline-offset: .2em; }
.CodeArea a:hover, .CodeArea a:focus { text-decoration-style: solid; }
.Numbered { counter-reset: line; }
.Numbered .Ln::before {
  counter-increment: line; content: counter(line); display: inline-block; min-width: 4ch;
  margin-right: 1.5ch; text-align: right; color: var(--muted); font-style: normal; font-weight: normal;
  user-select: none;
}
.Trail { color: var(--muted); font-size: .9em; }
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
.Module > a { font-weight: 600; }
.Folder, .Counts { color: var(--muted); }
.Counts { font-size: .9em; }
.Procedures { columns: 20em; margin: .2em 0 0; padding-left: 1.5em; font-family: var(--code-font); font-size: .9em; }
.NoMatch { color: var(--muted); }
.Problem { border-left: 3px solid var(--string); padding-left: .6em; }
)";

} // namespace

std::string StyleSheet(Theme theme)
{
    const Colours& colours = theme == Theme::Dark ? kDark : theme == Theme::Editor ? kEditor : kLight;
    return std::string(kFonts) + colours.variables + kCommon + colours.extra;
}

} // namespace quillmark::cli
