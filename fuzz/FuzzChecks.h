#pragma once

// What the fuzzers ask of a reader besides not crashing. A broken promise aborts, so that
// libFuzzer keeps the input and the replay of the seeds fails.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quillmark::fuzz {

inline void Expect(bool holds, const char* promise)
{
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// The input's bytes; the first picks the options of a run, the rest is the data.
struct Input {
    std::uint8_t options;
    std::string_view data;
};

inline Input Split(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return {0, {}};
    return {bytes[0], {reinterpret_cast<const char*>(bytes) + 1, size - 1}};
}

// Well-formed UTF-8: no stray or missing continuation byte, overlong form, surrogate, or code
// point above U+10FFFF.
inline bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, point = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, point = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = point << 6 | (next & 0x3F);
        }
        const std::uint32_t least = length == 3 ? 0x800 : 0x10000;
        if ((length > 2 && point < least) || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

// Whether text holds a C0 control character other than those allowed.
inline bool HasControls(std::string_view text, std::string_view allowed)
{
    for (const char c : text)
        if ((static_cast<unsigned char>(c) < 0x20) && allowed.find(c) == std::string_view::npos)
            return true;
    return false;
}

} // namespace quillmark::fuzz
