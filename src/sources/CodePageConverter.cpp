// Text in the system's code pages, converted by the system.

#include "sources/EncodingConverter.h"

#include "base/AsciiText.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <cstdlib>
#include <cstring>

namespace quillmark {
namespace {

constexpr unsigned Utf16Little = 1200;
constexpr unsigned Utf16Big = 1201;

// The number after prefix ("CP932" -> 932), 0 when encoding is not prefix and digits.
unsigned NumberAfter(const std::string& encoding, const char* prefix)
{
    const std::size_t length = std::strlen(prefix);
    if (encoding.size() <= length || !SameName(std::string_view(encoding).substr(0, length), prefix))
        return 0;
    char* end = nullptr;
    const unsigned long number = std::strtoul(encoding.c_str() + length, &end, 10);
    return *end == '\0' && number < 65536 ? static_cast<unsigned>(number) : 0;
}

unsigned CodePageOf(const std::string& encoding)
{
    struct Name {
        const char* name;
        unsigned codePage;
    };
    static constexpr Name Names[] = {
        {"UTF-8", CP_UTF8}, {"UTF-16LE", Utf16Little}, {"UTF-16BE", Utf16Big}, {"ASCII", 20127}, {"MACINTOSH", 10000},
        {"EUC-JP", 20932},  {"ISO-2022-JP", 50220},    {"GBK", 936},           {"BIG5", 950},    {"SHIFT_JIS", 932},
    };
    for (const Name& n : Names)
        if (SameName(encoding, n.name))
            return n.codePage;
    if (const unsigned n = NumberAfter(encoding, "ISO-8859-"); n >= 1 && n <= 15)
        return 28590 + n;
    for (const char* prefix : {"CP", "WINDOWS-"})
        if (const unsigned n = NumberAfter(encoding, prefix))
            return n;
    throw UnknownEncoding(encoding);
}

std::string FromUtf16(std::string_view bytes, bool bigEndian, const std::string& encoding, bool replace)
{
    const bool oddByte = bytes.size() % 2 != 0;
    if (oddByte && !replace)
        throw RuntimeError(err::InvalidCall, {}, "bytes not valid in " + encoding + ": odd length");
    std::wstring wide(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        wide[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    // The system makes an unpaired surrogate U+FFFD.
    if (!replace && !wide.empty() &&
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr) == 0)
        throw RuntimeError(err::InvalidCall, {}, "bytes not valid in " + encoding);
    if (oddByte)
        wide += L'\xFFFD';
    return win32::Narrow(wide);
}

} // namespace

std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::size_t replacementUnit)
{
    const bool replace = replacementUnit > 0;
    if (SameName(encoding, "UTF-16")) {
        // The byte order mark says the order and is dropped; without one the order is big-endian.
        const bool little = bytes.starts_with("\xFF\xFE");
        if (little || bytes.starts_with("\xFE\xFF"))
            bytes.remove_prefix(2);
        return FromUtf16(bytes, !little, encoding, replace);
    }
    const unsigned codePage = CodePageOf(encoding);
    if (codePage == Utf16Little || codePage == Utf16Big)
        return FromUtf16(bytes, codePage == Utf16Big, encoding, replace);
    if (bytes.empty())
        return {};
    if (!::IsValidCodePage(codePage))
        throw UnknownEncoding(encoding);
    // The stateful and the UTF-7 code pages take no flags; without them the system replaces what
    // is not valid.
    const bool stateful = codePage >= 50220 && codePage <= 57011;
    const DWORD flags = stateful || replace ? 0 : MB_ERR_INVALID_CHARS;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length == 0)
        throw RuntimeError(err::InvalidCall, {}, "bytes not valid in " + encoding);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return win32::Narrow(wide);
}

std::string ConvertFromUtf8(std::string_view text, const std::string& encoding)
{
    const unsigned codePage = CodePageOf(encoding);
    if (codePage == CP_UTF8 || text.empty())
        return std::string(text);
    const std::wstring wide = win32::Widen(text);
    std::string bytes;
    if (codePage == Utf16Little || codePage == Utf16Big) {
        for (const wchar_t unit : wide) {
            const auto high = static_cast<char>((unit >> 8) & 0xFF);
            const auto low = static_cast<char>(unit & 0xFF);
            bytes += codePage == Utf16Big ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    }
    if (!::IsValidCodePage(codePage))
        throw UnknownEncoding(encoding);
    // Best-fit mappings would write another character than the text holds.
    const int size = static_cast<int>(wide.size());
    BOOL lacking = FALSE;
    const int length =
        ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lacking);
    if (length == 0 || lacking)
        throw RuntimeError(err::InvalidCall, {}, "a character that " + encoding + " lacks");
    bytes.resize(static_cast<std::size_t>(length));
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace quillmark
