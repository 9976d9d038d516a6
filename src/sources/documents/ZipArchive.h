#pragma once

#include "sources/documents/Containers.h"
#include "sources/documents/VbaFormatError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmark {

// A zip package read from its central directory, its parts inflated by the platform's inflater: stored and
// deflated parts, zip64 sizes and offsets. Every size and offset is checked against the file;
// a part is never inflated beyond the size it declares, and its checksum must match.
class ZipArchive final : public ZipPackage {
public:
    // The archive of fileSize bytes that read reaches. Throws VbaFormatError when its central
    // directory cannot be found or read.
    ZipArchive(std::uint64_t fileSize, ReadAt read);

    const std::vector<std::string>& PartNames() const override { return names_; }
    std::optional<std::uint64_t> PartSize(const std::string& name) override;
    std::string ReadPart(const std::string& name, const std::string& what) override;

    // Whether data is what the part named holds, by its size and checksum; true when there is no
    // such part.
    bool Holds(const std::string& name, std::string_view data) const;

private:
    struct Entry {
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t headerOffset = 0;
    };

    void ReadCentralDirectory();
    std::string Read(std::uint64_t offset, std::size_t size) const;
    const Entry* Find(const std::string& name) const;

    std::uint64_t fileSize_;
    ReadAt read_;
    std::vector<std::string> names_;
    std::vector<Entry> entries_;                          // in the order of names_
    std::unordered_map<std::string, std::size_t> byName_; // folded name -> the first entry of it
};

} // namespace quillmark
