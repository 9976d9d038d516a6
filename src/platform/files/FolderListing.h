#pragma once

#include <filesystem>
#include <vector>

namespace quillmark {

struct FolderEntry {
    std::filesystem::path path; // the folder's path as given, then the entry's name
    bool isFile = false;        // a regular file, or a link to one
    bool isFolder = false;      // a folder itself, not a link to one
};

// What folder holds, in the system's order, at any depth of path (on Windows past MAX_PATH
// too). Throws RuntimeError ("cannot list the folder PATH: the system's reason").
std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder);

} // namespace quillmark
