#include "sources/documents/VbaDecompression.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace quillmark {
namespace {

// The number a step fails with: a damaged container or one that expands too far; 0 for none.
std::int32_t FailureOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

std::string FromHex(const std::string& hex)
{
    std::istringstream in(hex);
    std::string bytes;
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

struct WorkedExample {
    const char* name;
    const char* compressed;
    std::string text;
};

TEST(VbaDecompression, WorkedExamplesOfTheFileFormat)
{
    const WorkedExample examples[] = {
        {"no compression", "01 19 B0 00 61 62 63 64 65 66 67 68 00 69 6A 6B 6C 6D 6E 6F 70 00 71 72 73 74 75 76 2E",
         "abcdefghijklmnopqrstuv."},
        {"normal",
         "01 2F B0 00 23 61 61 61 62 63 64 65 82 66 00 70 61 67 68 69 6A 01 38 08 61 6B 6C 00 20 6D 6E 6F 70 06 71 "
         "02 70 04 00 72 73 74 75 76 10 77 78 79 7A 00 2C",
         "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa"},
        {"maximum", "01 03 B0 02 61 45 00", std::string(73, 'a')},
    };
    for (const WorkedExample& example : examples) {
        EXPECT_EQ(DecompressContainer(FromHex(example.compressed)), example.text) << example.name;
    }
}

std::string Sample(std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        text += "Line " + std::to_string(i) + " \x82\xA0\r\n";
    }
    text.resize(size);
    return text;
}

TEST(VbaDecompression, OurOwnChunksRoundTripAcrossChunkBoundaries)
{
    for (std::size_t size : {0u, 1u, 8u, 9u, 4095u, 4096u, 4097u, 8192u, 20000u}) {
        const std::string text = Sample(size);
        EXPECT_EQ(DecompressContainer(testing::Compress(text)), text) << size;
        // Literals alone never shrink a full chunk, which is then stored uncompressed and padded.
        std::string literal = DecompressContainer(testing::Compress(text, false));
        literal.erase(literal.find_last_not_of('\0') + 1);
        EXPECT_EQ(literal, text) << size;
        // An uncompressed chunk always holds 4096 bytes: the last one is padded.
        std::string padded = text;
        padded.resize((size + 4095) / 4096 * 4096, '\0');
        EXPECT_EQ(DecompressContainer(testing::CompressRaw(text)), padded) << size;
    }
}

TEST(VbaDecompression, MixedChunksAndTrailingZerosAreRead)
{
    const std::string first = Sample(4096);
    const std::string second = Sample(300);
    std::string container = testing::CompressRaw(first) + testing::Compress(second).substr(1);
    container.append(7, '\0');
    EXPECT_EQ(DecompressContainer(container), first + second);
}

TEST(VbaDecompression, ChunkSizeDecidesWhereTheNextChunkStarts)
{
    // The first chunk declares four bytes of data although its flag byte would read on.
    const std::string container = FromHex("01 03 B0 00 61 62 63 03 B0 00 64 65 66");
    EXPECT_EQ(DecompressContainer(container), "abcdef");
}

TEST(VbaDecompression, DamagedContainersAreRefused)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"no signature byte", FromHex("02 19 B0 00 61")},
        {"bad chunk signature", FromHex("01 19 C0 00 61 62")},
        {"copy token at the chunk start", FromHex("01 03 B0 01 00 00")},
        {"copy reaching before the chunk", FromHex("01 04 B0 02 61 00 F0")},
        {"copy token cut short", FromHex("01 02 B0 02 61 45")},
        {"chunk expanding beyond 4096 bytes", FromHex("01 05 B0 06 61 FF 0F FF 0F")},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(FailureOf([&] { DecompressContainer(each.bytes); }), err::BadFileFormat) << each.name;
    }
}

// Six bytes that expand to one full chunk of 4096.
std::string FullChunk()
{
    return FromHex("03 B0 02 61 FC 0F");
}

TEST(VbaDecompression, OutputBeyondTheLimitIsRefused)
{
    std::string container(1, '\x01');
    for (int i = 0; i < 17; ++i) {
        container += FullChunk();
    }
    EXPECT_EQ(DecompressContainer(container, 17 * 4096).size(), 17u * 4096);
    EXPECT_EQ(FailureOf([&] { DecompressContainer(container, 16 * 4096); }), err::OutOfMemory);
}

TEST(VbaDecompression, ModuleSourceIsFoundWhenItsOffsetIsWrong)
{
    const std::string source = testing::StoredSource("Module1", "Sub A()\r\nEnd Sub\r\n");
    // Leading bytes that look like a container start, and a decoy that fails to expand.
    std::string cache(40, '\x01');
    cache.append(std::string("\x01\x05\xB0\0Attribut\xFF\xFF", 14));
    const std::string stream = cache + testing::Compress(source, false);
    const std::size_t offsets[] = {cache.size(), 0, 3, cache.size() - 1, cache.size() + 2, stream.size() + 100};
    for (std::size_t offset : offsets) {
        EXPECT_EQ(DecompressModuleSource(stream, offset), source) << offset;
    }
}

TEST(VbaDecompression, ModuleWithoutAnySourceIsAnError)
{
    const std::string stream(64, '\x02');
    EXPECT_EQ(FailureOf([&] { DecompressModuleSource(stream, 10); }), err::BadFileFormat);
    EXPECT_EQ(FailureOf([&] { DecompressModuleSource(stream, 1000); }), err::BadFileFormat);
}

TEST(VbaDecompression, OversizedModuleIsNotSearchedFurther)
{
    std::string stream(1, '\x01');
    stream.append(FullChunk()).append(FullChunk());
    EXPECT_EQ(FailureOf([&] { DecompressModuleSource(stream, 0, 4096); }), err::OutOfMemory);
}

} // namespace
} // namespace quillmark
