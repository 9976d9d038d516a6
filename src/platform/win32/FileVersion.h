#pragma once

#include <filesystem>
#include <string>

namespace quillmark::win32 {

// The version resource of a program or library file, one "Name: value" line each, as
// quillmark-desktop --version --verbose prints the Linux library's: ProductName,
// ProductVersion and FileVersion (text and numbers), FileDescription, InternalName,
// OriginalFilename, Language, and OLESelfRegister when it is there. Read as data, so a library
// of either architecture will do. Throws RuntimeError when the file has none.
std::string FileVersionText(const std::filesystem::path& file);

} // namespace quillmark::win32
