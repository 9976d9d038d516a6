#pragma once

#include <string>
#include <vector>

namespace quillmark {

// The lines of a per-user store's text, without their LF or CR LF ends; element k is line k + 1.
inline std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

} // namespace quillmark
