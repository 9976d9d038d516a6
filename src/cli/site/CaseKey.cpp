#include "cli/site/CaseKey.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace quillmark::cli {

namespace {

struct CaseRun {
    char32_t first;
    std::uint16_t count;
    std::uint8_t step;
    std::int32_t delta;
};

constexpr CaseRun kRuns[] = {
#include "cli/site/CaseKeyTable.inc"
};

char32_t Representative(char32_t c)
{
    const auto after = std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                                        [](char32_t value, const CaseRun& run) { return value < run.first; });
    if (after == std::begin(kRuns))
        return c;
    const CaseRun& run = *std::prev(after);
    const char32_t offset = c - run.first;
    if (offset % run.step != 0 || offset / run.step >= run.count)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
}

// The character that starts at text[at] and its length in bytes; 0 for a byte that starts no
// valid sequence.
std::size_t Decode(std::string_view text, std::size_t at, char32_t& c)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    return overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0 : length;
}

void Encode(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    out += static_cast<char>(kLead[length] | (c >> (6 * (length - 1))));
    for (int i = length - 2; i >= 0; --i)
        out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

} // namespace

std::string CaseKey(std::string_view text)
{
    std::string key;
    key.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            key += static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte);
            ++at;
            continue;
        }
        char32_t c = 0;
        const std::size_t length = Decode(text, at, c);
        if (length == 0) {
            key += static_cast<char>(byte);
            ++at;
            continue;
        }
        Encode(Representative(c), key);
        at += length;
    }
    return key;
}

} // namespace quillmark::cli
