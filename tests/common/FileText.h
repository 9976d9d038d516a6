#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quillmark::testing {

inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes text to path, creating its folder first.
inline void WriteFileText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace quillmark::testing
