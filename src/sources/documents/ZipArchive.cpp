#include "sources/documents/ZipArchive.h"

#include "base/AsciiText.h"
#include "sources/documents/LittleEndian.h"
#include "sources/documents/RawInflate.h"
#include "sources/documents/VbaFormatError.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace quillmark {

namespace {

constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint32_t Zip64EndSignature = 0x06064b50;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::size_t EndSize = 22;
constexpr std::size_t LocatorSize = 20;
constexpr std::size_t Zip64EndSize = 56;
constexpr std::size_t CentralSize = 46;
constexpr std::size_t LocalSize = 30;
constexpr std::uint16_t Zip64Extra = 0x0001;
constexpr std::uint16_t Deflated = 8;
constexpr std::uint32_t Escaped32 = 0xFFFFFFFF; // the real value is in the zip64 field
// The central directory is read whole; a package with more than this is refused.
constexpr std::uint64_t MaxDirectorySize = 64 * 1024 * 1024;

[[noreturn]] void Damaged(const std::string& problem)
{
    throw VbaFormatError(problem);
}

// Replaces the fields that the header escapes with their values in the zip64 extra field.
void ReadZip64Fields(std::string_view extra, std::uint64_t& size, std::uint64_t& compressedSize,
                     std::uint64_t& headerOffset)
{
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const auto id = static_cast<std::uint16_t>(Little(extra, at, 2));
        const std::size_t length = Little(extra, at + 2, 2);
        if (length > extra.size() - at - 4) {
            break;
        }
        if (id == Zip64Extra) {
            std::size_t field = at + 4;
            for (std::uint64_t* value : {&size, &compressedSize, &headerOffset}) {
                if (*value != Escaped32) {
                    continue;
                }
                if (field + 8 > at + 4 + length) {
                    Damaged("a zip64 field is cut short");
                }
                *value = Little(extra, field, 8);
                field += 8;
            }
            return;
        }
        at += 4 + length;
    }
}

} // namespace

ZipArchive::ZipArchive(std::uint64_t fileSize, ReadAt read) : fileSize_(fileSize), read_(std::move(read))
{
    ReadCentralDirectory();
}

std::string ZipArchive::Read(std::uint64_t offset, std::size_t size) const
{
    if (offset > fileSize_ || size > fileSize_ - offset) {
        Damaged("a record at byte " + std::to_string(offset) + " runs past the end of the file");
    }
    std::string data(size, '\0');
    if (size > 0) {
        read_(offset, data.data(), size);
    }
    return data;
}

void ZipArchive::ReadCentralDirectory()
{
    // The end record is the last thing in the file but for a comment of up to 65535 bytes.
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize_, EndSize + 0xFFFF));
    const std::string tail = Read(fileSize_ - tailSize, tailSize);
    std::size_t end = std::string::npos;
    for (std::size_t at = tailSize >= EndSize ? tailSize - EndSize + 1 : 0; at-- > 0;) {
        if (Little(tail, at, 4) == EndSignature && at + EndSize + Little(tail, at + 20, 2) <= tailSize) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos) {
        Damaged("its central directory cannot be found");
    }
    const std::uint64_t endOffset = fileSize_ - tailSize + end;
    std::uint64_t count = Little(tail, end + 10, 2);
    std::uint64_t directorySize = Little(tail, end + 12, 4);
    std::uint64_t directoryOffset = Little(tail, end + 16, 4);
    if (endOffset >= LocatorSize && Little(Read(endOffset - LocatorSize, 4), 0, 4) == Zip64LocatorSignature) {
        const std::string locator = Read(endOffset - LocatorSize, LocatorSize);
        const std::string record = Read(Little(locator, 8, 8), Zip64EndSize);
        if (Little(record, 0, 4) != Zip64EndSignature) {
            Damaged("its zip64 end record is missing");
        }
        count = Little(record, 32, 8);
        directorySize = Little(record, 40, 8);
        directoryOffset = Little(record, 48, 8);
    }
    if (directorySize > MaxDirectorySize || count > directorySize / CentralSize) {
        Damaged("its central directory is too large or lists more entries than it holds");
    }
    const std::string directory = Read(directoryOffset, static_cast<std::size_t>(directorySize));
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (at + CentralSize > directory.size() || Little(directory, at, 4) != CentralSignature) {
            Damaged("entry " + std::to_string(i + 1) + " of its central directory is damaged");
        }
        Entry entry;
        entry.flags = static_cast<std::uint16_t>(Little(directory, at + 8, 2));
        entry.method = static_cast<std::uint16_t>(Little(directory, at + 10, 2));
        entry.crc = static_cast<std::uint32_t>(Little(directory, at + 16, 4));
        entry.compressedSize = Little(directory, at + 20, 4);
        entry.size = Little(directory, at + 24, 4);
        entry.headerOffset = Little(directory, at + 42, 4);
        const std::size_t nameLength = Little(directory, at + 28, 2);
        const std::size_t extraLength = Little(directory, at + 30, 2);
        const std::size_t commentLength = Little(directory, at + 32, 2);
        const std::size_t next = at + CentralSize + nameLength + extraLength + commentLength;
        if (next > directory.size()) {
            Damaged("entry " + std::to_string(i + 1) + " of its central directory runs past its end");
        }
        const std::string_view name = std::string_view(directory).substr(at + CentralSize, nameLength);
        ReadZip64Fields(std::string_view(directory).substr(at + CentralSize + nameLength, extraLength), entry.size,
                        entry.compressedSize, entry.headerOffset);
        at = next;
        if (name.empty() || name.ends_with('/')) {
            continue; // a folder
        }
        std::string partName = name.starts_with('/') ? std::string(name) : "/" + std::string(name);
        byName_.emplace(LowerAscii(partName), entries_.size());
        names_.push_back(std::move(partName));
        entries_.push_back(entry);
    }
}

const ZipArchive::Entry* ZipArchive::Find(const std::string& name) const
{
    const auto found = byName_.find(LowerAscii(name));
    return found == byName_.end() ? nullptr : &entries_[found->second];
}

std::optional<std::uint64_t> ZipArchive::PartSize(const std::string& name)
{
    const Entry* entry = Find(name);
    return entry != nullptr ? std::optional(entry->size) : std::nullopt;
}

bool ZipArchive::Holds(const std::string& name, std::string_view data) const
{
    const Entry* entry = Find(name);
    return entry == nullptr || (data.size() == entry->size && ZipChecksum(data) == entry->crc);
}

std::string ZipArchive::ReadPart(const std::string& name, const std::string& what)
{
    const Entry* entry = Find(name);
    if (entry == nullptr) {
        throw VbaFormatError(what + " is missing");
    }
    if (entry->method != 0 && entry->method != Deflated) {
        throw VbaFormatError(what + " is compressed with method " + std::to_string(entry->method) +
                             ", which cannot be read here");
    }
    // libgsf ignores the encryption flag; it is believed only when the data does not read, since
    // a flipped bit leaves a part whose checksum still matches.
    const InflateDamage damaged = [&what, entry](const std::string& problem) {
        return VbaFormatError(what + ((entry->flags & 1) ? " is encrypted" : " is damaged (" + problem + ")"));
    };
    if (entry->size > SIZE_MAX || entry->compressedSize > fileSize_) {
        throw damaged("its size is impossible");
    }
    // The local header gives only where the data starts: libgsf reads past a damaged signature,
    // and the checksum tells whether what follows is the part.
    if (entry->headerOffset > fileSize_ || LocalSize > fileSize_ - entry->headerOffset) {
        throw damaged("its local header lies past the end of the file");
    }
    const std::string local = Read(entry->headerOffset, LocalSize);
    std::uint64_t offset = entry->headerOffset + LocalSize + Little(local, 26, 2) + Little(local, 28, 2);
    if (offset > fileSize_ || entry->compressedSize > fileSize_ - offset) {
        throw damaged("its data runs past the end of the file");
    }
    std::string data;
    if (entry->method == 0) {
        if (entry->compressedSize != entry->size) {
            throw damaged("its stored size differs from its size");
        }
        data = Read(offset, static_cast<std::size_t>(entry->size));
    } else {
        data.assign(static_cast<std::size_t>(entry->size), '\0');
        InflateRaw(Read(offset, static_cast<std::size_t>(entry->compressedSize)), data, damaged);
    }
    if (ZipChecksum(data) != entry->crc) {
        throw damaged("its checksum does not match");
    }
    return data;
}

} // namespace quillmark
