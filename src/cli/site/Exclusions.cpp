#include "cli/site/Exclusions.h"

#include "base/AsciiText.h"

namespace quillmark::cli {

Exclusions::Exclusions(std::vector<std::string> patterns) : patterns_(std::move(patterns))
{
    for (std::string& pattern : patterns_) {
        while (pattern.starts_with('/'))
            pattern.erase(0, 1);
        while (pattern.ends_with('/'))
            pattern.pop_back();
    }
}

const std::string* Exclusions::Match(std::string_view path) const
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    for (const std::string& pattern : patterns_)
        if (GlobMatches(pattern, pattern.find('/') == std::string::npos ? name : path))
            return &pattern;
    return nullptr;
}

bool GlobMatches(std::string_view pattern, std::string_view text)
{
    // After a mismatch, the last "*" takes one more character and the rest is tried again.
    std::size_t p = 0, t = 0;
    std::size_t star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ? text[t] != '/' : LowerAscii(pattern[p]) == LowerAscii(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos && text[resume] != '/') {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace quillmark::cli
