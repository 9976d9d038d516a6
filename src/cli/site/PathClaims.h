#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quillmark::cli {

// The paths written into one folder, each claimed once, made safe by SafeFileName; no two differ
// only in case. A name whose path is taken is numbered ("-2", "-3", ...), starting from the number
// that name reached last, so that many names of one path take linear time.
class PathClaims {
public:
    // reserved: paths that no claim gets.
    explicit PathClaims(std::initializer_list<std::string_view> reserved = {});

    // The path for name (made safe, then extension) in folder ("" or ending in "/").
    std::string Claim(const std::string& folder, std::string_view name, std::string_view extension);

private:
    std::unordered_set<std::string> taken_;          // case keys of the paths claimed
    std::unordered_map<std::string, unsigned> next_; // by the case key of a path that was taken
};

} // namespace quillmark::cli
