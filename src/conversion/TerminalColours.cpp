#include "conversion/TerminalColours.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace quillmark {
namespace {

struct Rgb {
    int r, g, b;
};

Rgb Parse(std::string_view hex)
{
    unsigned value = 0;
    std::from_chars(hex.data() + 1, hex.data() + hex.size(), value, 16);
    return {static_cast<int>(value >> 16 & 0xff), static_cast<int>(value >> 8 & 0xff), static_cast<int>(value & 0xff)};
}

// Weighted as the eye weighs the channels ("redmean" without the mean): good enough to tell
// which of a few colours is nearest.
int Distance(Rgb a, Rgb b)
{
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

constexpr std::array<int, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};

int NearestLevel(int value)
{
    int best = 0;
    for (int k = 1; k < 6; ++k)
        if (std::abs(kCubeLevels[k] - value) < std::abs(kCubeLevels[best] - value))
            best = k;
    return best;
}

// The nearest of the palette's 6x6x6 cube (16..231) and its 24 greys (232..255).
int Nearest256(Rgb colour)
{
    const int r = NearestLevel(colour.r), g = NearestLevel(colour.g), b = NearestLevel(colour.b);
    const int cube = 16 + 36 * r + 6 * g + b;
    const Rgb cubeColour{kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]};
    const int grey = std::clamp(((colour.r + colour.g + colour.b) / 3 - 8 + 5) / 10, 0, 23);
    const int level = 8 + 10 * grey;
    return Distance(colour, {level, level, level}) < Distance(colour, cubeColour) ? 232 + grey : cube;
}

// The 16 colours differ from terminal to terminal, so a colour is matched by what they share:
// its hue among the six (red, yellow, green, cyan, blue, magenta), bright when it is light; a
// colour of little saturation is black, grey or white. Nearness in RGB would make most of a
// dark theme's soft colours grey.
int Nearest16(Rgb colour)
{
    const int most = std::max({colour.r, colour.g, colour.b});
    const int least = std::min({colour.r, colour.g, colour.b});
    if (most == 0 || (most - least) * 4 < most) {
        const int average = (colour.r + colour.g + colour.b) / 3;
        return average < 48 ? 0 : average < 128 ? 8 : average < 200 ? 7 : 15;
    }
    const double chroma = most - least;
    double hue = most == colour.r   ? (colour.g - colour.b) / chroma
                 : most == colour.g ? 2 + (colour.b - colour.r) / chroma
                                    : 4 + (colour.r - colour.g) / chroma;
    hue = std::fmod(hue + 6, 6); // in sixths of the circle: 0 red, 1 yellow, 2 green, 3 cyan, 4 blue, 5 magenta
    constexpr std::array<int, 6> ansi = {1, 3, 2, 6, 4, 5};
    return ansi[static_cast<std::size_t>(std::lround(hue)) % 6] + (most > 200 ? 8 : 0);
}

} // namespace

std::optional<ColourDepth> ColourDepthNamed(std::string_view name)
{
    if (name == "none")
        return ColourDepth::None;
    if (name == "16")
        return ColourDepth::Sixteen;
    if (name == "256")
        return ColourDepth::Palette256;
    if (name == "truecolor")
        return ColourDepth::TrueColour;
    return std::nullopt;
}

ColourDepth ColourDepthOfTerminal(const char* noColor, const char* colorTerm, const char* term)
{
    if (noColor && *noColor)
        return ColourDepth::None;
    const std::string_view colours = colorTerm ? colorTerm : "";
    if (colours == "truecolor" || colours == "24bit")
        return ColourDepth::TrueColour;
    if (term && std::string_view(term).find("256col") != std::string_view::npos)
        return ColourDepth::Palette256;
    return ColourDepth::Sixteen;
}

std::string ColourParameters(std::string_view hex, ColourDepth depth, bool background)
{
    const Rgb colour = Parse(hex);
    const std::string layer = background ? "4" : "3";
    switch (depth) {
    case ColourDepth::None: return {};
    case ColourDepth::TrueColour:
        return layer + "8;2;" + std::to_string(colour.r) + ";" + std::to_string(colour.g) + ";" +
               std::to_string(colour.b);
    case ColourDepth::Palette256: return layer + "8;5;" + std::to_string(Nearest256(colour));
    case ColourDepth::Sixteen: break;
    }
    const int k = Nearest16(colour);
    return (k < 8 ? layer : background ? "10" : "9") + std::to_string(k % 8);
}

} // namespace quillmark
