#pragma once

#include <filesystem>
#include <string>

namespace quillmark::win32 {

// path made absolute in the extended form (\\?\C:\..., \\?\UNC\server\share\...), which the
// system's wide calls take past MAX_PATH whatever the machine's long-path setting. A path
// already in that form, or a device's (\\.\), stays as it is.
std::wstring ExtendedPath(const std::filesystem::path& path);

} // namespace quillmark::win32
