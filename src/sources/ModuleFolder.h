#pragma once

#include "base/RuntimeError.h"
#include "sources/MemorySource.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillmark {

// A folder of exported module files read as a project, the one way that every command reads
// one: its module files in name order (with recursive, those of its subfolders after them, as
// ModuleFilesIn lists them), each read on its own, so that what is wrong with one file is told
// at that file and leaves the others readable.
class ModuleFolder {
public:
    // Lists the module files of the folder at path (made absolute), passing over those and the
    // subfolders that leaveOut says true for. Throws RuntimeError at the folder when it cannot
    // be listed or holds no module files.
    explicit ModuleFolder(const std::string& path, bool recursive = false,
                          const std::function<bool(const std::filesystem::path&)>& leaveOut = {});

    const std::string& Path() const { return path_; }
    const std::vector<std::filesystem::path>& Files() const { return files_; }

    // File i, to be read. Throws RuntimeError at the file when it is a link to a file outside
    // the folder.
    const std::filesystem::path& File(std::size_t i) const;

    // The module of file i. Throws RuntimeError at the file when it cannot be read or decoded,
    // or as File does. Safe to call from several threads.
    std::shared_ptr<MemoryComponent> Read(std::size_t i, const std::string& encoding) const;

    // Takes name for file i's module (files taken in order): the error at that file when an
    // earlier file's module has the name already, names compared as the editor compares them.
    std::optional<RuntimeError> Claim(std::size_t i, const std::string& name);

private:
    std::string path_;
    std::filesystem::path real_; // the folder without links, which no module file may leave
    std::vector<std::filesystem::path> files_;
    std::unordered_map<std::string, std::size_t> claimed_; // lower-cased name -> file
};

} // namespace quillmark
