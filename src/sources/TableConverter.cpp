// Text in code pages converted by tables made from glibc's iconv, where there is no iconv (the
// web build): the same text, and the same bytes refused, as the native command's.

#include "sources/CodePageTables.h"
#include "sources/EncodingConverter.h"

#include "base/AsciiText.h"
#include "base/Utf8Text.h"

#include <map>
#include <optional>
#include <unordered_map>

namespace quillmark {
namespace {

constexpr std::uint32_t Replacement = 0xFFFD;

[[noreturn]] void NotValid(const std::string& encoding, std::size_t offset)
{
    throw RuntimeError(err::InvalidCall, {}, "bytes not valid in " + encoding + " at offset " + std::to_string(offset));
}

// Appends the character read at at (length bytes) and moves past it; where the bytes are no
// character, U+FFFD for one unit of them when unit is given, else fails.
void Take(std::string& out, std::optional<std::uint32_t> character, std::size_t length, std::string_view bytes,
          std::size_t& at, const std::string& encoding, std::size_t unit)
{
    if (character) {
        AppendUtf8(out, *character);
        at += length;
    } else if (unit > 0) {
        AppendUtf8(out, Replacement);
        at += std::min(unit, bytes.size() - at);
    } else {
        NotValid(encoding, at);
    }
}

// The length of the well-formed UTF-8 character at bytes[at], 0 when there is none.
std::size_t Utf8Character(std::string_view bytes, std::size_t at)
{
    const auto first = static_cast<unsigned char>(bytes[at]);
    if (first < 0x80) {
        return 1;
    }
    const std::size_t length = first >= 0xC2 && first <= 0xDF   ? 2
                               : first >= 0xE0 && first <= 0xEF ? 3
                               : first >= 0xF0 && first <= 0xF4 ? 4
                                                                : 0;
    if (length == 0 || at + length > bytes.size()) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    const unsigned char low = first == 0xE0 ? 0xA0 : first == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = first == 0xED ? 0x9F : first == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((static_cast<unsigned char>(bytes[at + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::string FromUtf8(std::string_view bytes, const std::string& encoding, std::size_t unit)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        if (const std::size_t length = Utf8Character(bytes, at)) {
            out.append(bytes.substr(at, length));
            at += length;
        } else if (unit > 0) {
            AppendUtf8(out, Replacement);
            at += unit;
        } else {
            NotValid(encoding, at);
        }
    }
    return out;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian, const std::string& encoding, std::size_t unit)
{
    const auto unitAt = [&](std::size_t at) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[at]);
        const auto b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        std::optional<std::uint32_t> character;
        std::size_t length = 2;
        if (at + 2 <= bytes.size()) {
            const std::uint32_t first = unitAt(at);
            if (first < 0xD800 || first > 0xDFFF) {
                character = first;
            } else if (first <= 0xDBFF && at + 4 <= bytes.size()) {
                const std::uint32_t second = unitAt(at + 2);
                if (second >= 0xDC00 && second <= 0xDFFF) {
                    character = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
                    length = 4;
                }
            }
        }
        Take(out, character, length, bytes, at, encoding, unit);
    }
    return out;
}

std::string FromTable(std::string_view bytes, const CodePageTable& table, const std::string& encoding, std::size_t unit)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::uint16_t character = table.single[lead];
        std::size_t length = 1;
        if (character == CodePageTable::LeadByte) {
            character = CodePageTable::Invalid;
            if (at + 1 < bytes.size()) {
                const auto trail = static_cast<unsigned char>(bytes[at + 1]);
                character = table.doubles[lead][trail];
                length = 2;
                if (character == CodePageTable::SeeWide) {
                    for (std::size_t i = 0; i < table.wideCount; ++i) {
                        if (table.wide[i].bytes == (lead << 8 | trail)) {
                            out += table.wide[i].utf8;
                            break;
                        }
                    }
                    at += 2;
                    continue;
                }
            }
        }
        Take(out, character != CodePageTable::Invalid ? std::optional<std::uint32_t>(character) : std::nullopt, length,
             bytes, at, encoding, unit);
    }
    return out;
}

const CodePageTable* Table(const std::string& encoding)
{
    std::string name = encoding;
    if (SameName(name.substr(0, 8), "WINDOWS-")) {
        name = "CP" + name.substr(8);
    }
    for (const CodePageTable& table : CodePageTables()) {
        if (SameName(table.name, name)) {
            return &table;
        }
    }
    return nullptr;
}

// The character of the well-formed UTF-8 sequence of length bytes at text[at].
std::uint32_t Utf8Value(std::string_view text, std::size_t at, std::size_t length)
{
    static constexpr unsigned char Masks[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    std::uint32_t value = static_cast<unsigned char>(text[at]) & Masks[length];
    for (std::size_t i = 1; i < length; ++i) {
        value = value << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    }
    return value;
}

// The bytes of each character of a table: a byte, or 0x10000 | lead << 8 | trail; glibc's
// choice where several sequences decode to one character.
const std::unordered_map<std::uint32_t, std::uint32_t>& Encodings(const CodePageTable& table)
{
    static std::map<const CodePageTable*, std::unordered_map<std::uint32_t, std::uint32_t>> made;
    auto [found, added] = made.try_emplace(&table);
    std::unordered_map<std::uint32_t, std::uint32_t>& encodings = found->second;
    if (added) {
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            if (table.single[byte] < CodePageTable::SeeWide) {
                encodings.try_emplace(table.single[byte], byte);
            } else if (table.single[byte] == CodePageTable::LeadByte) {
                for (std::uint32_t trail = 0; trail < 256; ++trail) {
                    if (table.doubles[byte][trail] < CodePageTable::SeeWide) {
                        encodings.try_emplace(table.doubles[byte][trail], 0x10000 | byte << 8 | trail);
                    }
                }
            }
        }
        for (std::size_t i = 0; i < table.chosenCount; ++i) {
            encodings[table.chosen[i].character] = table.chosen[i].bytes;
        }
    }
    return encodings;
}

void AppendUtf16(std::string& out, std::uint32_t character, bool bigEndian)
{
    const auto unit = [&](std::uint32_t value) {
        out += static_cast<char>(bigEndian ? value >> 8 : value & 0xFF);
        out += static_cast<char>(bigEndian ? value & 0xFF : value >> 8);
    };
    if (character < 0x10000) {
        unit(character);
    } else {
        unit(0xD800 + ((character - 0x10000) >> 10));
        unit(0xDC00 + ((character - 0x10000) & 0x3FF));
    }
}

} // namespace

std::string ConvertFromUtf8(std::string_view text, const std::string& encoding)
{
    const bool utf16 = SameName(encoding, "UTF-16") || SameName(encoding, "UTF-16LE") || SameName(encoding, "UTF-16BE");
    const CodePageTable* table = SameName(encoding, "UTF-8") || utf16 ? nullptr : Table(encoding);
    if (!utf16 && table == nullptr && !SameName(encoding, "UTF-8")) {
        throw UnknownEncoding(encoding);
    }
    const bool bigEndian = SameName(encoding, "UTF-16BE");
    // glibc's UTF-16 begins with a byte order mark, in the order of its machine: little-endian.
    std::string out = SameName(encoding, "UTF-16") && !text.empty() ? "\xFF\xFE" : "";
    out.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8Character(text, at);
        if (length == 0) {
            throw RuntimeError(err::InvalidCall, {},
                               "a character that " + encoding + " lacks at offset " + std::to_string(at));
        }
        const std::uint32_t character = Utf8Value(text, at, length);
        if (table == nullptr && !utf16) {
            out.append(text.substr(at, length));
        } else if (utf16) {
            AppendUtf16(out, character, bigEndian);
        } else {
            const auto& encodings = Encodings(*table);
            const auto found = encodings.find(character);
            if (found == encodings.end()) {
                throw RuntimeError(err::InvalidCall, {},
                                   "a character that " + encoding + " lacks at offset " + std::to_string(at));
            }
            if (found->second & 0x10000) {
                out += static_cast<char>((found->second >> 8) & 0xFF);
            }
            out += static_cast<char>(found->second & 0xFF);
        }
        at += length;
    }
    return out;
}

std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::size_t replacementUnit)
{
    if (SameName(encoding, "UTF-8")) {
        return FromUtf8(bytes, encoding, replacementUnit);
    }
    if (SameName(encoding, "UTF-16LE") || SameName(encoding, "UTF-16BE")) {
        return FromUtf16(bytes, SameName(encoding, "UTF-16BE"), encoding, replacementUnit);
    }
    if (SameName(encoding, "UTF-16")) {
        // The byte order mark says the order and is dropped; without one glibc reads little-endian.
        const bool big = bytes.starts_with("\xFE\xFF");
        if (big || bytes.starts_with("\xFF\xFE")) {
            bytes.remove_prefix(2);
        }
        return FromUtf16(bytes, big, encoding, replacementUnit);
    }
    if (const CodePageTable* table = Table(encoding)) {
        return FromTable(bytes, *table, encoding, replacementUnit);
    }
    throw UnknownEncoding(encoding);
}

} // namespace quillmark
