#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

// How many colours a terminal shows: none (plain text), the 16 of the first terminals, the
// 256 of xterm's palette, or any (24-bit).
enum class ColourDepth { None, Sixteen, Palette256, TrueColour };

// "none", "16", "256" or "truecolor"; nothing for another name.
std::optional<ColourDepth> ColourDepthNamed(std::string_view name);

// The depth a terminal is taken to show when none is asked for: none when NO_COLOR is set and
// not empty (no-color.org), 24-bit when COLORTERM says so, 256 for a TERM that says so, else 16.
// Each argument is the variable's value, null when unset.
ColourDepth ColourDepthOfTerminal(const char* noColor, const char* colorTerm, const char* term);

// The parameters of a select-graphic-rendition sequence that sets "#rrggbb" as the foreground
// (or the background) at depth, the nearest colour the depth has: "38;2;r;g;b", "38;5;n",
// "3n" or "9n". Empty at depth none.
std::string ColourParameters(std::string_view hex, ColourDepth depth, bool background = false);

} // namespace quillmark
