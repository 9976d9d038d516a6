#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quillmark::win32 {

// A file opened only to be read, shared with whoever writes or removes it meanwhile: a document
// that is open in Office can still be read.
class ReadOnlyFile {
public:
    // Throws RuntimeError at the file ("cannot open the file: REASON"), as ReadWholeFile does.
    explicit ReadOnlyFile(const std::filesystem::path& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t Size() const { return size_; }

    // Reads up to size bytes at offset, fewer only at the end of the file; the count read.
    // Throws RuntimeError at the file ("cannot read the file: REASON").
    std::size_t ReadAt(std::uint64_t offset, void* into, std::size_t size) const;

private:
    std::string path_; // UTF-8, for errors
    void* handle_;
    std::uint64_t size_ = 0;
};

} // namespace quillmark::win32
