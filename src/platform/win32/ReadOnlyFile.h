#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace quillmark::win32 {

// A file opened only to be read, shared with whoever writes or removes it meanwhile: a document
// that is open in Office can still be read.
class ReadOnlyFile {
public:
    // Throws std::runtime_error with the system's reason.
    explicit ReadOnlyFile(const std::filesystem::path& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t Size() const { return size_; }

    // Reads up to size bytes at offset, fewer only at the end of the file; the count read.
    // Throws std::runtime_error with the system's reason.
    std::size_t ReadAt(std::uint64_t offset, void* into, std::size_t size) const;

private:
    void* handle_;
    std::uint64_t size_ = 0;
};

} // namespace quillmark::win32
