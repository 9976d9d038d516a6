#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// The --exclude patterns of a site. A pattern without "/" matches the name of a file or folder at
// any depth ("*.bak.bas", "old"); one with "/" matches the path below the project's folder
// ("src/legacy", "forms/*.frm"). "*" stands for any characters and "?" for one, never for "/";
// case does not matter, as on the file systems the files come from.
class Exclusions {
public:
    explicit Exclusions(std::vector<std::string> patterns = {});

    // The pattern that leaves out path ("/"-separated, below the project's folder), or null.
    const std::string* Match(std::string_view path) const;
    bool Empty() const { return patterns_.empty(); }

private:
    std::vector<std::string> patterns_;
};

// Whether text matches the pattern of "*" and "?" above, ignoring ASCII case.
bool GlobMatches(std::string_view pattern, std::string_view text);

} // namespace quillmark::cli
