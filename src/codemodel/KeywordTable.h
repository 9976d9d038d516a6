#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillmark {

// Exact, case-sensitive set of keywords, each with a value (always 1).
class KeywordTable {
public:
    bool Exists(std::string_view key) const { return keys_.find(key) != keys_.end(); }
    void Add(std::string_view key, std::int16_t value);
    std::size_t Count() const { return keys_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::int16_t, Hash, std::equal_to<>> keys_;
};

} // namespace quillmark
