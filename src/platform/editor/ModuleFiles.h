#pragma once

#include <filesystem>
#include <vector>

namespace quillmark {

// An exported module file by its extension: .bas, .cls or .frm, in any case.
bool IsModuleFile(const std::filesystem::path& path);

// The module files of folder in name order (ignoring case first). With recursive, those of its
// subfolders follow, each subfolder in name order with its own files before its subfolders';
// hidden folders (".git") and links to folders are passed over. Throws RuntimeError.
std::vector<std::filesystem::path> ModuleFilesIn(const std::filesystem::path& folder, bool recursive = false);

} // namespace quillmark
