#include "conversion/Themes.h"

namespace quillmark {
namespace {

// Every colour of code keeps a contrast of at least 4.5:1 with the code's background and with
// a targeted block's, as WCAG asks of text.
constexpr Theme kLight{"light", "light", "", "#ffffff", "#1f2328", "#656d76", "#0b5cad", "#b0b8c8", "#f6f8fa",
                       "#fff8c5", "#1f2328",
                       {{{"comment", "#1a7f37"},
                         {"string", "#a31515"},
                         {"keyword", "#0033b3", true},
                         {"label", "#8250df", false, true},
                         {"name", "#00677f"}}}};

constexpr Theme kDark{"dark", "dark", "", "#1e1f22", "#d4d4d4", "#9aa3ad", "#6cb6ff", "#3d4450", "#26282c",
                      "#302e1a", "#d4d4d4",
                      {{{"comment", "#7ab36a"},
                        {"string", "#ce9178"},
                        {"keyword", "#5fa6e0", true},
                        {"label", "#c586c0", false, true},
                        {"name", "#9cdcfe"}}}};

// Black names on white, navy keywords and green comments, as the editor's code window; the rest
// of the code a little grey so that names still stand out.
constexpr Theme kEditor{"editor", "light", "\"Courier New\", ", "#ffffff", "#000000", "#6d6d6d", "#0000ee",
                        "#a0a0a0", "#ffffff", "#f0f5ff", "#505050",
                        {{{"comment", "#008000"},
                          {"string", "#800000"},
                          {"keyword", "#00007f"},
                          {"label", "#7f007f", false, true},
                          {"name", "#000000"}}}};

} // namespace

const Theme& ThemeOf(ThemeName name)
{
    switch (name) {
    case ThemeName::Dark: return kDark;
    case ThemeName::Editor: return kEditor;
    case ThemeName::Light: break;
    }
    return kLight;
}

std::optional<ThemeName> ThemeNamed(std::string_view name)
{
    for (const ThemeName theme : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor})
        if (ThemeOf(theme).name == name)
            return theme;
    return std::nullopt;
}

} // namespace quillmark
