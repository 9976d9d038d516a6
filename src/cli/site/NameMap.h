#pragma once

#include "base/AsciiText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quillmark::cli {

// Hashing and equality of names as the editor compares them (ASCII letters without case), so
// that a name can be looked up as it stands in the code, without a lowered copy.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const
    {
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : name)
            hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ull;
        return static_cast<std::size_t>(hash); // its low half where size_t has 32 bits
    }
};

struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};

template <typename T>
using NameMap = std::unordered_map<std::string, T, NameHash, NameEqual>;
using NameSet = std::unordered_set<std::string, NameHash, NameEqual>;

} // namespace quillmark::cli
