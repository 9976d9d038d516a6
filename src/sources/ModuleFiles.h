#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace quillmark {

// The extensions of exported module files, with their dot, in lower case.
std::span<const std::string_view> ModuleFileExtensions();

// An exported module file by its extension, in any case.
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
