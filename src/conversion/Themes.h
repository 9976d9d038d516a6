#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quillmark {

// The looks of code: light, dark, or like the editor's code window.
enum class ThemeName { Light, Dark, Editor };

// How one decoration class looks: its colour, and whether it is bold or italic.
struct DecoLook {
    std::string_view colourName; // the style sheet's variable, without "--"
    std::string_view colour;     // "#rrggbb"
    bool bold = false;
    bool italic = false;
};

// A theme's colours and fonts: the one source of the style sheet and of inline styles, so that
// both always look alike.
struct Theme {
    std::string_view name;        // as the --theme option takes it
    std::string_view colourScheme; // "light" or "dark"
    std::string_view codeFontFirst; // a family put before the monospace families, or empty
    std::string_view page, text, muted, link, rule, code, target, plain;
    std::array<DecoLook, 5> deco; // Deco1 (comments) .. Deco5 (other names)
};

// Latin monospace families come before the Japanese ones, which draw the backslash as a yen sign.
inline constexpr std::string_view kMonospaceFonts =
    "Consolas, Menlo, \"DejaVu Sans Mono\", \"Liberation Mono\", \"IPAGothic\", \"MS Gothic\",\n"
    "    \"Noto Sans Mono CJK JP\", monospace";

const Theme& ThemeOf(ThemeName name);

// "light", "dark" or "editor"; nothing for another name.
std::optional<ThemeName> ThemeNamed(std::string_view name);

} // namespace quillmark
