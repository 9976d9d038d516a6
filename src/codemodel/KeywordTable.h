#pragma once

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillmark {

// Exact, case-sensitive set of keywords, each with a value (always 1).
class KeywordTable {
public:
    bool Exists(std::string_view key) const { return keys_.find(key) != keys_.end(); }
    // False when no key begins with the word's first character and has its length: most words
    // of code are answered so, without a hash.
    bool MayExist(std::string_view key) const { return shapes_[Shape(key)]; }
    void Add(std::string_view key, std::int16_t value);
    std::size_t Count() const { return keys_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    static constexpr std::size_t LongestShape = 31;
    static std::size_t Shape(std::string_view key)
    {
        if (key.empty())
            return 0;
        return static_cast<unsigned char>(key.front()) * (LongestShape + 1) + std::min(key.size(), LongestShape);
    }

    std::unordered_map<std::string, std::int16_t, Hash, std::equal_to<>> keys_;
    std::bitset<256 * (LongestShape + 1)> shapes_;
};

} // namespace quillmark
