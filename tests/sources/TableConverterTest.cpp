// The web build's code-page tables against glibc's iconv, which they were made from: the same
// text, or a refusal at the same byte, for real modules and for every kind of byte sequence.
#include "sources/CodePageTables.h"
#include "sources/EncodingConverter.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

// glibc's text of bytes, or "refused at N".
std::string ByIconv(std::string_view bytes, const char* encoding, const char* into = "UTF-8")
{
    iconv_t cd = iconv_open(into, encoding);
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1)) {
        return "refused at " + std::to_string(bytes.size() - inLeft);
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string ByTable(std::string_view bytes, const char* encoding)
{
    try {
        return ConvertToUtf8(bytes, encoding);
    } catch (const RuntimeError& error) {
        const std::string problem = error.Problem();
        return "refused at " + problem.substr(problem.rfind(' ') + 1);
    }
}

TEST(TableConverter, DecodesAsIconvDoes)
{
    std::vector<std::string> texts;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUILLMARK_SOURCE_DIR) / "examples")) {
        if (entry.is_regular_file() && entry.path().extension() != ".html") {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            texts.push_back(bytes.str());
        }
    }
    std::mt19937 random(24);
    for (int i = 0; i < 300; ++i) {
        std::string bytes(1 + random() % 12, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random() % 4 == 0 ? 0x20 + random() % 0x60 : random() % 256);
        }
        texts.push_back(bytes);
    }
    std::vector<const char*> encodings{"UTF-8", "UTF-16LE", "UTF-16BE", "UTF-16"};
    for (const CodePageTable& table : CodePageTables()) {
        encodings.push_back(table.name);
    }
    for (const char* encoding : encodings) {
        for (const std::string& text : texts) {
            ASSERT_EQ(ByTable(text, encoding), ByIconv(text, encoding)) << encoding << ": " << text;
        }
    }
}

std::string EncodedByTable(std::string_view text, const char* encoding)
{
    try {
        return ConvertFromUtf8(text, encoding);
    } catch (const RuntimeError& error) {
        const std::string problem = error.Problem();
        return "refused at " + problem.substr(problem.rfind(' ') + 1);
    }
}

TEST(TableConverter, EncodesAsIconvDoes)
{
    // Every character of every table (those that several sequences stand for among them), a
    // line of text in each, and bytes that are no UTF-8.
    std::vector<const char*> encodings{"UTF-8", "UTF-16LE", "UTF-16BE", "UTF-16"};
    for (const CodePageTable& table : CodePageTables()) {
        encodings.push_back(table.name);
    }
    const std::string sample = "Sub 集計() ' «résumé» – ü € ✓ \xF0\x9F\x98\x80\r\n";
    for (const char* encoding : encodings) {
        std::string every;
        for (const CodePageTable& table : CodePageTables()) {
            if (std::string_view(table.name) != encoding)
                continue;
            for (int lead = 0; lead < 256; ++lead) {
                if (table.single[lead] < CodePageTable::SeeWide)
                    every += ConvertToUtf8(std::string(1, static_cast<char>(lead)), encoding);
                for (int trail = 0; table.single[lead] == CodePageTable::LeadByte && trail < 256; ++trail) {
                    if (table.doubles[lead][trail] < CodePageTable::SeeWide)
                        every += ConvertToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}, encoding);
                }
            }
        }
        for (const std::string& text : {sample, every, std::string("ok\xFF")}) {
            if (ByIconv(text, "UTF-8", encoding).starts_with("refused") && !text.starts_with("ok")) {
                // text the code page cannot hold whole: compared character by character
                for (std::size_t at = 0; at < text.size();) {
                    std::size_t length = 1;
                    while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
                        ++length;
                    const std::string one = text.substr(at, length);
                    ASSERT_EQ(EncodedByTable(one, encoding), ByIconv(one, "UTF-8", encoding)) << encoding << ": " << one;
                    at += length;
                }
            } else {
                ASSERT_EQ(EncodedByTable(text, encoding), ByIconv(text, "UTF-8", encoding)) << encoding;
            }
        }
    }
}

} // namespace
} // namespace quillmark
