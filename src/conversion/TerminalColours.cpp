#include "conversion/TerminalColours.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
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

// xterm's 16 colours as it draws them by default.
constexpr std::array<Rgb, 16> kSixteen = {{{0, 0, 0},
                                           {205, 0, 0},
                                           {0, 205, 0},
                                           {205, 205, 0},
                                           {0, 0, 238},
                                           {205, 0, 205},
                                           {0, 205, 205},
                                           {229, 229, 229},
                                           {127, 127, 127},
                                           {255, 0, 0},
                                           {0, 255, 0},
                                           {255, 255, 0},
                                           {92, 92, 255},
                                           {255, 0, 255},
                                           {0, 255, 255},
                                           {255, 255, 255}}};

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

int Nearest16(Rgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int k = 0; k < 16; ++k)
        if (const int d = Distance(colour, kSixteen[k]); d < bestDistance) {
            best = k;
            bestDistance = d;
        }
    return best;
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
