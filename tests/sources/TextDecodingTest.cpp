#include "sources/TextDecoding.h"

#include "base/RuntimeError.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

using namespace std::string_view_literals;

// "表示" in CP932: the trail byte of 表 is a backslash.
constexpr std::string_view kCp932Hyouji = "\x95\x5c\x8e\xa6";
constexpr std::string_view kUtf8Hyouji = "表示";

TEST(CodePageEncoding, NamesWhatIconvKnows)
{
    EXPECT_EQ(CodePageEncoding(932), "CP932");
    EXPECT_EQ(CodePageEncoding(1252), "CP1252");
    EXPECT_EQ(CodePageEncoding(65001), "UTF-8");
    EXPECT_EQ(CodePageEncoding(28591), "ISO-8859-1");
    for (int codePage : {932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1257, 10000, 65001, 28595})
        EXPECT_NO_THROW(DecodeToUtf8("abc", CodePageEncoding(codePage))) << codePage;
}

TEST(DecodeToUtf8, ConvertsStrictlyOrThrows)
{
    EXPECT_EQ(DecodeToUtf8(kCp932Hyouji, "CP932"), kUtf8Hyouji);
    EXPECT_EQ(DecodeToUtf8(kCp932Hyouji, "shift_jis"), kUtf8Hyouji);
    EXPECT_EQ(DecodeToUtf8("caf\xe9", "CP1252"), "café");
    EXPECT_EQ(DecodeToUtf8("", "CP932"), "");
    EXPECT_THROW(DecodeToUtf8("\x82", "CP932"), RuntimeError); // a lead byte cut off
    EXPECT_THROW(DecodeToUtf8("\xa0", "CP932"), RuntimeError);
    EXPECT_THROW(DecodeToUtf8("abc", "NO-SUCH-ENCODING"), RuntimeError);
}

// text as UTF-16 bytes, without a byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

struct GuessCase {
    const char* title;
    std::string bytes;
    std::string encoding;
    std::string expected;
};

class DecodeModuleFileTest : public ::testing::TestWithParam<GuessCase> {};

TEST_P(DecodeModuleFileTest, Decodes)
{
    const GuessCase& c = GetParam();
    EXPECT_EQ(DecodeModuleFile(c.bytes, c.encoding), c.expected) << c.title;
    EXPECT_EQ(DecodeModuleBytes(c.bytes, c.encoding), c.expected) << c.title;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeModuleFileTest,
    ::testing::Values(
        GuessCase{"ASCII", "Sub A()\r\n", "", "Sub A()\r\n"},
        GuessCase{"UTF-8 without BOM", "' 表示\n", "", "' 表示\n"},
        GuessCase{"UTF-8 BOM dropped", "\xEF\xBB\xBF' 表示", "", "' 表示"},
        GuessCase{"BOM with a broken byte keeps the rest",
                  "\xEF\xBB\xBF"
                  "a\xFFz",
                  "", "a\xEF\xBF\xBDz"},
        GuessCase{"UTF-16LE with BOM",
                  std::string("\xFF\xFE"
                              "a\0\x68\x88",
                              6),
                  "", "a表"},
        GuessCase{"UTF-16BE with BOM", std::string("\xFE\xFF\0a", 4), "", "a"},
        GuessCase{"damaged UTF-16 keeps the rest",
                  std::string("\xFF\xFE"
                              "a\0\x00\xD8z\0\x00\xDC\r\0\n\0b",
                              15),
                  "", "a\xEF\xBF\xBDz\xEF\xBF\xBD\r\n\xEF\xBF\xBD"},
        GuessCase{"UTF-16BE beyond the BMP", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "", "😀"},
        // Without a mark, zero bytes in one position of the units tell UTF-16; characters
        // whose low byte is zero (U+3000, U+4E00) and a NUL do not mislead it.
        GuessCase{"UTF-16LE without BOM", Utf16(u"Sub A()\r\n' 表示　一\0\r\n"sv, false), "",
                  "Sub A()\r\n' 表示　一\xEF\xBF\xBD\r\n"},
        GuessCase{"UTF-16BE without BOM", Utf16(u"' 一　日本\r\nx = 1"sv, true), "", "' 一　日本\r\nx = 1"},
        GuessCase{"a stray zero byte is damage, not UTF-16", std::string("Sub A()\0\r\nEnd Sub\r\n", 19), "",
                  "Sub A()\xEF\xBF\xBD\r\nEnd Sub\r\n"},
        GuessCase{"zero padding is damage, not UTF-16", "x = 1\r\n" + std::string(16, '\0'), "",
                  [] {
                      std::string text = "x = 1\r\n";
                      for (int i = 0; i < 16; ++i)
                          text += "\xEF\xBF\xBD";
                      return text;
                  }()},
        GuessCase{"explicit encoding wins over UTF-16 without BOM", Utf16(u"abcd"sv, false), "CP1252",
                  "a\xEF\xBF\xBD"
                  "b\xEF\xBF\xBD"
                  "c\xEF\xBF\xBD"
                  "d\xEF\xBF\xBD"},
        GuessCase{"explicit UTF-16 drops the BOM", std::string("\xFF\xFEx\0", 4), "UTF-16LE", "x"},
        GuessCase{"control characters but tab and line breaks are replaced", std::string("a\0b\x1B\tc\x7F\r\n\x0C", 10),
                  "",
                  "a\xEF\xBF\xBD"
                  "b\xEF\xBF\xBD\tc\x7F\r\n\xEF\xBF\xBD"},
        GuessCase{"control characters of UTF-16 too", std::string("\xFF\xFEx\0\0\0", 6), "", "x\xEF\xBF\xBD"},
        GuessCase{"control characters of an explicit encoding too", std::string("\x01", 1), "CP932", "\xEF\xBF\xBD"},
        GuessCase{"CP932 with a backslash trail byte", "' " + std::string(kCp932Hyouji) + "|", "", "' 表示|"},
        GuessCase{"CP932 half-width katakana", "\xb6\xc5", "", "ｶﾅ"},
        GuessCase{"CP1252 when not CP932", "' na\xefve \x80 \x81", "", "' naïve € \xC2\x81"},
        GuessCase{"explicit encoding wins over the guess", "caf\xe9", "cp1252", "café"},
        GuessCase{"explicit UTF-8 drops the BOM", "\xEF\xBB\xBFx", "utf-8", "x"},
        GuessCase{"valid UTF-8 read as CP932 on request", "\xe8\xa1\xa8", "CP932", "陦ｨ"}));

TEST(DecodeModuleFile, RefusesWhatItCannotDecode)
{
    EXPECT_THROW(DecodeModuleFile("\xff\xfe", "UTF-8"), RuntimeError);
    for (const std::string_view utf32 :
         {std::string_view("\xFF\xFE\0\0a\0\0\0", 8), std::string_view("\0\0\xFE\xFF", 4)}) {
        try {
            DecodeModuleFile(utf32);
            ADD_FAILURE() << "UTF-32 decoded";
        } catch (const RuntimeError& e) {
            EXPECT_NE(std::string(e.what()).find("UTF-32"), std::string::npos) << e.what();
        }
    }
}

TEST(DecodeModuleFile, AnyByteDecodesToValidUtf8WithoutRawControls)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = DecodeModuleFile(all);
    EXPECT_NO_THROW(DecodeToUtf8(text, "UTF-8"));
    EXPECT_NE(text.find(all.substr(0x20, 0x60)), std::string::npos);
    for (const char c : text)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n') << int(c);
}

} // namespace
} // namespace quillmark
