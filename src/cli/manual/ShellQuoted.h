#pragma once

#include <string>
#include <string_view>

namespace quillmark::cli {

// text as one word of a shell script, in single quotes.
inline std::string ShellQuoted(std::string_view text)
{
    std::string word = "'";
    for (const char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

} // namespace quillmark::cli
