#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace quillmark {

// What tells one file from every other whatever name or link leads there: the device and
// inode, on Windows the volume's serial number and the file's index.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file at path, links followed; nothing when it cannot be examined or
// is a device that has none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// The identity of what standard input reads; nothing for a pipe or a terminal that has none.
std::optional<FileIdentity> StandardInputIdentity();

} // namespace quillmark
