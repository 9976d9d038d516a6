#include "sources/TextDecoding.h"

#include "base/AsciiText.h"
#include "base/Utf8Text.h"
#include "codemodel/ByteBlocks.h"
#include "sources/EncodingConverter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace quillmark {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Length of the well-formed UTF-8 sequence at s[i], 0 when the bytes there are not one.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80)
        return 1;
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < len)
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

bool IsValidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        // ASCII, most of code: four blocks at a time, then one.
        const char* const at = s.data() + i;
        if (i + 4 * byteblocks::Size <= s.size() &&
            !byteblocks::HasHighBit(byteblocks::Load(at) | byteblocks::Load(at + 8) | byteblocks::Load(at + 16) |
                                    byteblocks::Load(at + 24))) {
            i += 4 * byteblocks::Size;
            continue;
        }
        if (i + byteblocks::Size <= s.size() && !byteblocks::HasHighBit(byteblocks::Load(at))) {
            i += byteblocks::Size;
            continue;
        }
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = Utf8SequenceAt(s, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

namespace {

// UTF-16 saved without its mark, told as editors tell it: every character below U+0100 has a
// zero high byte, so text of code has zeros in that position of the two-byte units, in at
// least one unit of four (and four units at least), and seldom in the other (U+xx00
// characters). Text in a one-byte encoding has no zero byte, or a few in either position where
// it is damaged; units of two zeros (NUL, or padding) tell nothing, and text of mostly such
// units is no UTF-16 text.
const char* Utf16WithoutMark(std::string_view bytes)
{
    if (bytes.find('\0') == std::string_view::npos)
        return nullptr;
    std::size_t text = 0;       // units with a byte that is not zero
    std::size_t zeroFirst = 0;  // of them, units whose first byte only is zero
    std::size_t zeroSecond = 0; // and whose second byte only is
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const bool first = bytes[i] == 0;
        const bool second = bytes[i + 1] == 0;
        if (first && second)
            continue;
        ++text;
        zeroFirst += first;
        zeroSecond += second;
    }
    const std::size_t units = bytes.size() / 2;
    if (text < units - text)
        return nullptr;
    const auto dominant = [text](std::size_t zeros, std::size_t others) {
        return zeros >= 4 && zeros >= text / 4 && zeros >= 4 * others;
    };
    if (dominant(zeroSecond, zeroFirst))
        return "UTF-16LE";
    if (dominant(zeroFirst, zeroSecond))
        return "UTF-16BE";
    return nullptr;
}

// A file marked as UTF-8 keeps its text; a byte that is not part of a well-formed sequence
// becomes U+FFFD.
std::string RepairUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = Utf8SequenceAt(s, i);
        if (len == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(s.substr(i, len));
            i += len;
        }
    }
    return out;
}

// Code page 1252 as Windows decodes it: the five unassigned bytes stand for the C1 controls of
// the same value, so that any byte sequence decodes.
std::string DecodeCp1252(std::string_view bytes)
{
    static constexpr std::array<std::uint16_t, 32> high = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? high[b - 0x80] : b);
    }
    return out;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

std::string WithoutBom(std::string text)
{
    if (StartsWith(text, kBom))
        text.erase(0, kBom.size());
    return text;
}

std::string DecodeByGuess(std::string_view bytes)
{
    // The UTF-32 marks first: the little-endian one begins like UTF-16's.
    if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)) ||
        StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        throw RuntimeError(err::BadFileFormat, {},
                           "the file is UTF-32 text, which module files never are; save it as UTF-8");
    if (StartsWith(bytes, kBom))
        return RepairUtf8(bytes.substr(kBom.size()));
    // The editor's relatives export some modules as UTF-16; the mark decides, damage or not.
    for (const auto& [mark, encoding] : {std::pair{"\xFF\xFE", "UTF-16LE"}, std::pair{"\xFE\xFF", "UTF-16BE"}})
        if (StartsWith(bytes, mark))
            return ConvertToUtf8(bytes.substr(2), encoding, 2);
    if (const char* encoding = Utf16WithoutMark(bytes))
        return ConvertToUtf8(bytes, encoding, 2);
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    try {
        return DecodeToUtf8(bytes, "CP932");
    } catch (const RuntimeError&) {
        return DecodeCp1252(bytes);
    }
}

} // namespace

std::string ConverterName(const std::string& encoding)
{
    const std::string name = LowerAscii(encoding);
    if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "windows-31j" || name == "ms932")
        return "CP932";
    if (name == "utf8")
        return "UTF-8";
    if (name == "windows-1252")
        return "CP1252";
    return encoding;
}

std::string CodePageEncoding(int codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20932:
    case 51932: return "EUC-JP";
    case 50220:
    case 50221:
    case 50222: return "ISO-2022-JP";
    case 936: return "GBK";
    case 949: return "CP949";
    case 950: return "BIG5";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28605)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding)
{
    return ConvertToUtf8(bytes, ConverterName(encoding));
}

std::string DecodeModuleFile(std::string_view bytes, const std::string& encoding)
{
    return ReplaceControlCharacters(encoding.empty() ? DecodeByGuess(bytes)
                                                     : WithoutBom(DecodeToUtf8(bytes, encoding)));
}

std::string DecodeModuleBytes(std::string bytes, const std::string& encoding)
{
    const bool marked = StartsWith(bytes, kBom) || StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") ||
                        StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4));
    if (encoding.empty() && !marked && !Utf16WithoutMark(bytes) && IsValidUtf8(bytes))
        return ReplaceControlCharacters(std::move(bytes));
    return DecodeModuleFile(bytes, encoding);
}

std::string DecodeName(std::string_view bytes)
{
    return NameText(DecodeByGuess(bytes));
}

} // namespace quillmark
