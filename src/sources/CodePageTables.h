#pragma once

#include <cstdint>
#include <span>

namespace quillmark {

// A sequence of two bytes whose text a table entry cannot hold (beyond 16 bits, or several
// characters): lead << 8 | trail, and its UTF-8.
struct WideCharacter {
    std::uint16_t bytes;
    const char* utf8;
};

// For a character that several sequences decode to, the one glibc encodes it as: a byte, or
// 0x10000 | lead << 8 | trail.
struct EncodedCharacter {
    std::uint32_t character;
    std::uint32_t bytes;
};

// A code page as glibc's iconv decodes and encodes it, for the web build, which has no iconv of its own.
struct CodePageTable {
    static constexpr std::uint16_t Invalid = 0xFFFF;
    static constexpr std::uint16_t LeadByte = 0xFFFE;
    static constexpr std::uint16_t SeeWide = 0xFFFD; // in a row of doubles: look in wide

    const char* name;                     // as iconv names it: "CP932", "ISO-8859-1"
    const std::uint16_t* single;          // 256: each byte's character, LeadByte or Invalid
    const std::uint16_t* const* doubles;  // 256 rows of 256 for the lead bytes, nullptr elsewhere
    const WideCharacter* wide;
    std::size_t wideCount;
    const EncodedCharacter* chosen;
    std::size_t chosenCount;
};

// Made at build time by scripts/code_page_tables.py.
std::span<const CodePageTable> CodePageTables();

} // namespace quillmark
