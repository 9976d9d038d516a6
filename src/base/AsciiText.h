#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark {

// Text helpers for names and file parts, where only ASCII letters have a case.

constexpr char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string LowerAscii(std::string_view text);

// Equal but for the case of ASCII letters, as the editor compares names.
bool SameName(std::string_view a, std::string_view b);

// value in upper-case hexadecimal digits, at least digits of them ("0041" for 0x41, 4).
std::string HexDigits(std::uint32_t value, int digits);

} // namespace quillmark
