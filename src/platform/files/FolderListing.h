#pragma once

#include <filesystem>
#include <memory>
#include <vector>

namespace quillmark {

// An entry of a folder: a regular file (a link to one counts) or a folder (a link to one does
// not); other entries are not listed.
struct FolderEntry {
    std::filesystem::path path;
    bool isFolder = false;
};

// A folder held open while it is listed, its subfolders opened through it rather than by their
// paths, so that a tree is listed whole even where its paths grow longer than the system takes
// (PATH_MAX); a file listed there is named, for its reader to report.
class ListedFolder {
public:
    // Throws RuntimeError at the folder ("cannot list the folder: ...").
    explicit ListedFolder(const std::filesystem::path& path);
    // A folder that parent's Entries() gave. Throws RuntimeError as above.
    ListedFolder(const ListedFolder& parent, const FolderEntry& subfolder);
    ~ListedFolder();
    ListedFolder(const ListedFolder&) = delete;
    ListedFolder& operator=(const ListedFolder&) = delete;

    // In the order the system keeps. Throws RuntimeError as above.
    std::vector<FolderEntry> Entries() const;

private:
    std::filesystem::path path_;
    int descriptor_ = -1; // where folders are opened by descriptor
};

} // namespace quillmark
