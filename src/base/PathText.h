#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillmark {

// A path is UTF-8 text inside; only here does it become the file system's own form. On Windows
// that is the wide text of the system's UTF-16 calls: a path built from a narrow string would
// be read in the ANSI code page, and 売上.xlsm would not exist. Elsewhere the bytes pass as
// they are, so a file name that is not UTF-8 still names its file.
inline std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size());
}

inline std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

} // namespace quillmark
