#include "sources/documents/CompoundDirectory.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillmark {

namespace {

constexpr std::size_t HeaderSize = 512;
constexpr std::size_t EntrySize = 128;
constexpr std::size_t HeaderFatSectors = 109;
constexpr std::uint32_t LastRegularSector = 0xFFFFFFF9;
constexpr std::uint8_t StreamEntry = 2;

std::uint64_t Little(const std::string& data, std::size_t at, std::size_t bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(data[at + i])) << (8 * i);
    }
    return value;
}

class SectorReader {
public:
    SectorReader(GsfInput* input, std::string header)
        : input_(input), header_(std::move(header)), shift_(static_cast<unsigned>(Little(header_, 0x1E, 2))),
          version4_(Little(header_, 0x1A, 2) == 4)
    {}

    bool Valid() const { return shift_ == 9 || shift_ == 12; }
    std::size_t SectorSize() const { return std::size_t{1} << shift_; }
    bool Version4() const { return version4_; }
    std::uint32_t FirstDirectorySector() const { return static_cast<std::uint32_t>(Little(header_, 0x30, 4)); }

    std::optional<std::string> Sector(std::uint32_t sector) const
    {
        return Read((static_cast<gsf_off_t>(sector) + 1) << shift_, SectorSize());
    }

    // The FAT's entry for sector; nothing past the FAT sectors the header lists.
    std::optional<std::uint32_t> Next(std::uint32_t sector) const
    {
        const std::size_t perSector = SectorSize() / 4;
        const std::size_t fatIndex = sector / perSector;
        if (fatIndex >= HeaderFatSectors) {
            return std::nullopt;
        }
        const auto fatSector = static_cast<std::uint32_t>(Little(header_, 0x4C + 4 * fatIndex, 4));
        if (fatSector > LastRegularSector) {
            return std::nullopt;
        }
        const std::optional<std::string> entry =
            Read(((static_cast<gsf_off_t>(fatSector) + 1) << shift_) + 4 * (sector % perSector), 4);
        if (!entry) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(Little(*entry, 0, 4));
    }

private:
    std::optional<std::string> Read(gsf_off_t offset, std::size_t size) const
    {
        std::string data(size, '\0');
        if (gsf_input_seek(input_, offset, G_SEEK_SET) ||
            gsf_input_read(input_, size, reinterpret_cast<guint8*>(data.data())) == nullptr) {
            return std::nullopt;
        }
        return data;
    }

    GsfInput* input_;
    std::string header_;
    unsigned shift_;
    bool version4_;
};

std::string EntryName(const std::string& entry)
{
    // The recorded length counts the closing NUL.
    const std::size_t units = std::min<std::size_t>(Little(entry, 0x40, 2), 64) / 2;
    std::vector<gunichar2> wide;
    for (std::size_t i = 0; i + 1 < units; ++i) {
        wide.push_back(static_cast<gunichar2>(Little(entry, 2 * i, 2)));
    }
    glong length = 0;
    gchar* utf8 = g_utf16_to_utf8(wide.data(), static_cast<glong>(wide.size()), nullptr, &length, nullptr);
    std::string name = utf8 != nullptr ? std::string(utf8, static_cast<std::size_t>(length)) : "?";
    g_free(utf8);
    return name;
}

} // namespace

std::string ImpossibleStreamSize(GsfInput* compoundFile, const std::string& what)
{
    const gsf_off_t fileSize = gsf_input_size(compoundFile);
    std::string header(HeaderSize, '\0');
    if (fileSize < static_cast<gsf_off_t>(HeaderSize) || gsf_input_seek(compoundFile, 0, G_SEEK_SET) ||
        gsf_input_read(compoundFile, HeaderSize, reinterpret_cast<guint8*>(header.data())) == nullptr) {
        return {};
    }
    const SectorReader reader(compoundFile, std::move(header));
    if (!reader.Valid()) {
        return {};
    }
    std::uint32_t sector = reader.FirstDirectorySector();
    // A chain longer than the file has sectors runs in a circle.
    for (gsf_off_t left = fileSize / static_cast<gsf_off_t>(reader.SectorSize());
         sector <= LastRegularSector && left > 0; --left) {
        const std::optional<std::string> entries = reader.Sector(sector);
        if (!entries) {
            return {};
        }
        for (std::size_t at = 0; at + EntrySize <= entries->size(); at += EntrySize) {
            const std::string entry = entries->substr(at, EntrySize);
            const std::uint64_t size = Little(entry, 0x78, reader.Version4() ? 8 : 4);
            if (static_cast<std::uint8_t>(entry[0x42]) == StreamEntry && size > static_cast<std::uint64_t>(fileSize)) {
                return "stream " + EntryName(entry) + " claims " + std::to_string(size) + " bytes, more than " + what +
                       " holds (" + std::to_string(fileSize) + " bytes)";
            }
        }
        const std::optional<std::uint32_t> next = reader.Next(sector);
        if (!next) {
            return {};
        }
        sector = *next;
    }
    return {};
}

} // namespace quillmark
