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
std::string ByIconv(std::string_view bytes, const char* encoding)
{
    iconv_t cd = iconv_open("UTF-8", encoding);
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

} // namespace
} // namespace quillmark
