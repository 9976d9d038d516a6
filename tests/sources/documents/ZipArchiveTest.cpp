#include "sources/documents/ZipArchive.h"

#include "sources/documents/VbaFormatError.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace quillmark {
namespace {

// Windows' zip reader over a package in memory.
ZipArchive Open(const std::string& bytes)
{
    return ZipArchive(bytes.size(), [&bytes](std::uint64_t offset, char* into, std::size_t size) {
        if (offset > bytes.size() || size > bytes.size() - offset) {
            throw VbaFormatError("read past the end");
        }
        std::memcpy(into, bytes.data() + offset, size);
    });
}

const testing::ZipParts Parts{
    {"[Content_Types].xml", "<Types/>"},
    {"xl/vbaProject.bin", std::string(5000, 'v') + "end"},
    {"xl/_rels/workbook.xml.rels", "<Relationships/>"},
};

// Where the central directory's entry for name starts.
std::size_t CentralEntry(const std::string& zip, const std::string& name)
{
    for (std::size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 1)) {
        if (zip.compare(at + 46, name.size(), name) == 0) {
            return at;
        }
    }
    throw std::invalid_argument("no entry " + name);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

TEST(ZipArchive, ListsAndInflatesEveryPartAsLibgsfWroteIt)
{
    const std::string zip = testing::Zip(Parts);
    ZipArchive archive = Open(zip);
    ASSERT_EQ(archive.PartNames().size(), Parts.size());
    for (std::size_t i = 0; i < Parts.size(); ++i) {
        const std::string name = "/" + Parts[i].first;
        EXPECT_EQ(archive.PartNames()[i], name);
        EXPECT_EQ(archive.PartSize(name), Parts[i].second.size());
        EXPECT_EQ(archive.ReadPart(name, name), Parts[i].second);
    }
    EXPECT_EQ(archive.ReadPart("/XL/VBAPROJECT.BIN", "part"), Parts[1].second); // names ignore ASCII case
    EXPECT_FALSE(archive.PartSize("/xl/missing.bin"));
}

TEST(ZipArchive, DamageIsNamedNeverFollowed)
{
    const std::string sound = testing::Zip(Parts);
    const std::size_t vba = CentralEntry(sound, "xl/vbaProject.bin");
    const std::size_t end = sound.rfind("PK\x05\x06");
    const struct {
        const char* damage;
        std::function<void(std::string&)> change;
        const char* problem;
    } cases[] = {
        {"cut", [](std::string& zip) { zip.resize(zip.size() / 2); }, "central directory cannot be found"},
        {"smaller size", [&](std::string& zip) { Put32(zip, vba + 24, 4000); }, "more than the 4000 bytes"},
        {"larger size", [&](std::string& zip) { Put32(zip, vba + 24, 6000); }, "fewer than the 6000 bytes"},
        {"checksum", [&](std::string& zip) { zip[vba + 16] ^= 1; }, "checksum"},
        // Flagged, and the data does not read as it is; a part that does is read.
        {"encrypted", [&](std::string& zip) { zip[vba + 8] |= 1, zip[vba + 16] ^= 1; }, "encrypted"},
        {"method", [&](std::string& zip) { zip[vba + 10] = 99; }, "method 99"},
        {"offset", [&](std::string& zip) { Put32(zip, vba + 42, 0x7FFFFFFF); }, "past the end"},
        {"compressed size", [&](std::string& zip) { Put32(zip, vba + 20, zip.size() - 10); }, "past the end"},
        {"entries", [&](std::string& zip) { zip[end + 10] = 4; }, "entry 4"},
        {"directory", [&](std::string& zip) { Put32(zip, end + 16, 0x7FFFFFFF); }, "past the end"},
    };
    for (const auto& each : cases) {
        std::string zip = sound;
        each.change(zip);
        try {
            Open(zip).ReadPart("/xl/vbaProject.bin", "the part");
            ADD_FAILURE() << each.damage << " was read";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), err::BadFileFormat) << each.damage;
            EXPECT_NE(error.Problem().find(each.problem), std::string::npos) << each.damage << ": " << error.Problem();
        }
    }
}

} // namespace
} // namespace quillmark
