#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace quillmark {

// An exported module file by its extension: .bas, .cls or .frm, in any case.
bool IsModuleFile(const std::filesystem::path& path);

// The module files of folder in name order (ignoring case first). With recursive, those of its
// subfolders follow, each subfolder in name order with its own files before its subfolders';
// hidden folders (whose name, decoded, starts with a dot: ".git") and links to folders are
// passed over, and so is each module file or subfolder for which leaveOut says true. Throws
// RuntimeError.
std::vector<std::filesystem::path>
ModuleFilesIn(const std::filesystem::path& folder, bool recursive = false,
              const std::function<bool(const std::filesystem::path&)>& leaveOut = {});

} // namespace quillmark
