#include "sources/documents/CompoundFileReader.h"

#include "base/AsciiText.h"
#include "sources/EncodingConverter.h"
#include "sources/documents/LittleEndian.h"
#include "sources/documents/VbaFormatError.h"

#include <algorithm>
#include <vector>

namespace quillmark {

namespace {

constexpr std::string_view Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr std::size_t HeaderSize = 512;
constexpr std::size_t EntrySize = 128;
constexpr std::size_t HeaderFatSectors = 109;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t NoStream = 0xFFFFFFFF;
constexpr std::uint8_t StorageEntry = 1;
constexpr std::uint8_t StreamEntry = 2;
constexpr std::uint8_t RootEntry = 5;
constexpr std::size_t MiniSectorSize = 64;

constexpr std::uint32_t FirstSpecialSector = 0xFFFFFFFC; // DIFAT, FAT, end of chain, free

struct Entry {
    std::string name;
    std::uint8_t type = 0; // 0 for an entry that cannot be read
    std::uint32_t left = NoStream;
    std::uint32_t right = NoStream;
    std::uint32_t child = NoStream;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
};

// A chain's sectors in order; nothing when it leaves the table other than at its end, or
// visits a sector twice.
std::optional<std::vector<std::uint32_t>> Chain(const std::vector<std::uint32_t>& table, std::uint32_t start)
{
    std::vector<std::uint32_t> sectors;
    std::vector<bool> seen(table.size(), false);
    std::uint32_t sector = start;
    for (; sector < table.size(); sector = table[sector]) {
        if (seen[sector]) {
            return std::nullopt;
        }
        seen[sector] = true;
        sectors.push_back(sector);
    }
    if (sector != EndOfChain) {
        return std::nullopt;
    }
    return sectors;
}

class File {
public:
    File(std::uint64_t size, ReadAt read) : size_(size), read_(std::move(read))
    {
        if (size_ < HeaderSize) {
            throw VbaFormatError("the file is too short for a compound file");
        }
        header_ = Read(0, HeaderSize);
        if (std::string_view(header_).substr(0, Signature.size()) != Signature) {
            throw VbaFormatError("it is not a compound file");
        }
        const auto shift = Little(header_, 0x1E, 2);
        if ((shift != 9 && shift != 12) || Little(header_, 0x20, 2) != 6) {
            throw VbaFormatError("its sector size is invalid");
        }
        sectorSize_ = std::size_t{1} << shift;
        // Whole sectors alone are read, as libgsf reads them.
        sectors_ = (size_ - HeaderSize) / sectorSize_;
        cutoff_ = Little(header_, 0x38, 4);
        ReadFat();
        ReadDirectory();
    }

    std::uint64_t Size() const { return size_; }
    const std::vector<Entry>& Entries() const { return entries_; }

    // An entry that cannot be read or whose claimed size the file cannot hold: libgsf drops
    // it and what hangs below it.
    bool Dropped(const Entry& entry) const
    {
        return entry.type == 0 || (entry.type != StorageEntry && entry.size > size_);
    }

    std::string StreamData(const Entry& entry, const std::string& what) const
    {
        if (entry.size > MaxStreamSize) {
            throw VbaFormatError(what + " is too large (" + std::to_string(entry.size) + " bytes)");
        }
        const auto size = static_cast<std::size_t>(entry.size);
        const bool mini = size < cutoff_;
        const std::size_t unit = mini ? MiniSectorSize : sectorSize_;
        const auto chain = Chain(mini ? MiniFat() : fat_, entry.start);
        if (!chain || chain->size() < (size + unit - 1) / unit) {
            throw Damaged(what);
        }
        std::string data;
        data.reserve(size);
        for (std::size_t i = 0; data.size() < size; ++i) {
            const std::string sector = mini ? MiniSector((*chain)[i], what) : Sector((*chain)[i], what);
            data.append(sector, 0, std::min(unit, size - data.size()));
        }
        return data;
    }

private:
    static RuntimeError Damaged(const std::string& what)
    {
        return VbaFormatError(what + " is damaged (its sectors cannot be followed)");
    }

    std::string Read(std::uint64_t offset, std::size_t size) const
    {
        std::string data(size, '\0');
        read_(offset, data.data(), size);
        return data;
    }

    std::string Sector(std::uint32_t sector, const std::string& what) const
    {
        if (sector >= sectors_) {
            throw Damaged(what);
        }
        return Read(HeaderSize + std::uint64_t{sector} * sectorSize_, sectorSize_);
    }

    std::uint32_t Number(std::string_view bytes, std::size_t index) const
    {
        return static_cast<std::uint32_t>(Little(bytes, 4 * index, 4));
    }

    // The FAT's sectors are listed by the header's first 109 entries, then by a chain of
    // DIFAT sectors whose last entry names the next.
    void ReadFat()
    {
        std::uint64_t count = Little(header_, 0x2C, 4);
        if (count >= sectors_) {
            throw VbaFormatError("its FAT claims more sectors than the file holds");
        }
        const std::size_t perSector = sectorSize_ / 4;
        const std::uint64_t entries = count * perSector;
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < HeaderFatSectors && fatSectors.size() < count; ++i) {
            fatSectors.push_back(Number(std::string_view(header_).substr(0x4C), i));
        }
        auto difat = static_cast<std::uint32_t>(Little(header_, 0x44, 4));
        for (std::uint64_t left = Little(header_, 0x48, 4); left > 0 && fatSectors.size() < count; --left) {
            const std::string sector = Sector(difat, "its list of FAT sectors");
            for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < count; ++i) {
                fatSectors.push_back(Number(sector, i));
            }
            difat = Number(sector, perSector - 1);
        }
        for (const std::uint32_t fatSector : fatSectors) {
            const std::string sector = Sector(fatSector, "its FAT");
            for (std::size_t i = 0; i < perSector; ++i) {
                const std::uint32_t next = Number(sector, i);
                if (next >= entries && next < FirstSpecialSector) {
                    throw VbaFormatError("its FAT leads to a sector it does not list");
                }
                fat_.push_back(next);
            }
        }
        fat_.resize(static_cast<std::size_t>(entries), NoStream);
    }

    // The entries whose sectors can be read; an entry in a sector that cannot stays unread.
    void ReadDirectory()
    {
        const auto chain = Chain(fat_, static_cast<std::uint32_t>(Little(header_, 0x30, 4)));
        if (!chain || chain->empty()) {
            throw VbaFormatError("its directory cannot be followed");
        }
        for (const std::uint32_t sector : *chain) {
            std::string entries;
            try {
                entries = Sector(sector, "its directory");
            } catch (const RuntimeError&) {
                entries.assign(sectorSize_, '\0');
            }
            for (std::size_t at = 0; at + EntrySize <= entries.size(); at += EntrySize) {
                entries_.push_back(ParseEntry(std::string_view(entries).substr(at, EntrySize)));
            }
        }
    }

    static Entry ParseEntry(std::string_view bytes)
    {
        Entry entry;
        entry.type = static_cast<std::uint8_t>(bytes[0x42]);
        if (entry.type != StorageEntry && entry.type != StreamEntry && entry.type != RootEntry) {
            entry.type = 0;
            return entry;
        }
        // The recorded length counts the closing NUL.
        const std::size_t length = Little(bytes, 0x40, 2);
        if (length >= 2 && length <= 64) {
            entry.name = ConvertToUtf8(bytes.substr(0, length - 2), "UTF-16LE", 2);
        }
        entry.left = static_cast<std::uint32_t>(Little(bytes, 0x44, 4));
        entry.right = static_cast<std::uint32_t>(Little(bytes, 0x48, 4));
        entry.child = static_cast<std::uint32_t>(Little(bytes, 0x4C, 4));
        entry.start = static_cast<std::uint32_t>(Little(bytes, 0x74, 4));
        // The size's upper half is left alone: version 3 files may leave garbage there.
        entry.size = Little(bytes, 0x78, 4);
        return entry;
    }

    // The mini FAT, read when a small stream is first read; empty when it cannot be read.
    const std::vector<std::uint32_t>& MiniFat() const
    {
        if (!miniFatRead_) {
            miniFatRead_ = true;
            const Entry& root = entries_.front();
            miniStream_ = Chain(fat_, root.start).value_or(std::vector<std::uint32_t>{});
            if (const auto chain = Chain(fat_, static_cast<std::uint32_t>(Little(header_, 0x3C, 4)))) {
                const std::size_t entries = chain->size() * (sectorSize_ / 4);
                // From an entry that leads outside the mini FAT on, libgsf reads every entry as 0.
                bool valid = true;
                try {
                    for (const std::uint32_t sector : *chain) {
                        const std::string bytes = Sector(sector, "its mini FAT");
                        for (std::size_t i = 0; i < sectorSize_ / 4; ++i) {
                            const std::uint32_t next = Number(bytes, i);
                            valid = valid && (next < entries || next >= FirstSpecialSector);
                            miniFat_.push_back(valid ? next : 0);
                        }
                    }
                } catch (const RuntimeError&) {
                    miniFat_.clear();
                }
            }
        }
        return miniFat_;
    }

    // A sector of the mini stream, the root's stream, read from the sector of the file that
    // holds it.
    std::string MiniSector(std::uint32_t sector, const std::string& what) const
    {
        const std::uint64_t offset = std::uint64_t{sector} * MiniSectorSize;
        const std::uint64_t index = offset / sectorSize_;
        if (offset + MiniSectorSize > entries_.front().size || index >= miniStream_.size()) {
            throw Damaged(what);
        }
        return Sector(miniStream_[index], what).substr(offset % sectorSize_, MiniSectorSize);
    }

    std::uint64_t size_;
    ReadAt read_;
    std::string header_;
    std::size_t sectorSize_ = 512;
    std::uint64_t sectors_ = 0;
    std::uint64_t cutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<Entry> entries_;
    mutable bool miniFatRead_ = false;
    mutable std::vector<std::uint32_t> miniFat_;
    mutable std::vector<std::uint32_t> miniStream_; // the file's sectors that hold it
};

class OwnStorage final : public CompoundStorage {
public:
    OwnStorage(std::shared_ptr<const File> file, std::uint32_t entry) : file_(std::move(file))
    {
        // The children hang in a tree of siblings below the entry's child; a loop or an entry
        // outside the directory ends that branch.
        const std::vector<Entry>& entries = file_->Entries();
        std::vector<bool> seen(entries.size(), false);
        std::vector<std::uint32_t> pending{entries[entry].child};
        while (!pending.empty()) {
            const std::uint32_t at = pending.back();
            pending.pop_back();
            if (at >= entries.size() || seen[at] || file_->Dropped(entries[at])) {
                continue;
            }
            seen[at] = true;
            children_.push_back(at);
            const Entry& child = entries[at];
            pending.push_back(child.right);
            pending.push_back(child.left);
        }
    }

    std::unique_ptr<CompoundStorage> Storage(const std::string& name, const std::string&) override
    {
        const std::optional<std::uint32_t> child = Child(name);
        if (!child || file_->Entries()[*child].type == StreamEntry) {
            return nullptr;
        }
        return std::make_unique<OwnStorage>(file_, *child);
    }

    std::optional<std::string> Stream(const std::string& name, const std::string& path) override
    {
        const std::optional<std::uint32_t> child = Child(name);
        if (!child || file_->Entries()[*child].type != StreamEntry) {
            return std::nullopt;
        }
        return file_->StreamData(file_->Entries()[*child], "stream " + path);
    }

    bool Has(const std::string& name) override { return Child(name).has_value(); }

private:
    std::optional<std::uint32_t> Child(const std::string& name) const
    {
        for (const std::uint32_t child : children_) {
            if (SameName(file_->Entries()[child].name, name)) {
                return child;
            }
        }
        return std::nullopt;
    }

    std::shared_ptr<const File> file_;
    std::vector<std::uint32_t> children_; // in the order of the tree walk
};

// The first stream whose stated size exceeds the whole file, in directory order; holder names
// the file ("the file", "the part").
std::string ImpossibleStream(const File& file, const std::string& holder)
{
    for (const Entry& entry : file.Entries()) {
        if (entry.type == StreamEntry && file.Dropped(entry)) {
            return "stream " + entry.name + " claims " + std::to_string(entry.size) + " bytes, more than " + holder +
                   " holds (" + std::to_string(file.Size()) + " bytes)";
        }
    }
    return {};
}

} // namespace

CompoundFile ReadCompoundFile(std::uint64_t fileSize, ReadAt read, const std::string& holder)
{
    auto file = std::make_shared<const File>(fileSize, std::move(read));
    std::string damage = ImpossibleStream(*file, holder);
    // A cut file drops its root with the streams; libgsf reads what it can of such a directory
    // and names the first stream that cannot fit, and so do we.
    if (file->Dropped(file->Entries().front())) {
        throw VbaFormatError(damage.empty() ? "its directory's root entry is damaged" : damage);
    }
    return {std::make_unique<OwnStorage>(std::move(file), 0), std::move(damage)};
}

} // namespace quillmark
