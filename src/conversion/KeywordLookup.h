#pragma once

#include "codemodel/KeywordTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillmark {

// Keyword lookups of one conversion. Code repeats its words, so recent answers of the table are
// kept in a small direct-mapped cache; the table stays the only authority.
class KeywordLookup {
public:
    // table may be null: every lookup then fails with error 91.
    explicit KeywordLookup(const KeywordTable* table);

    bool IsKeyword(std::string_view word);

private:
    // A word of up to 32 characters, packed into four numbers that together hold every one of
    // its characters, so that two words are equal exactly when their keys are.
    struct Key {
        std::uint64_t parts[4] = {};
        std::size_t length = 0;
        bool operator==(const Key&) const = default;
    };

    struct Slot {
        Key key;
        bool used = false;
        bool keyword = false;
    };

    static constexpr std::size_t MaxCachedLength = 32;
    static constexpr unsigned SlotBits = 10;

    static Key KeyOf(std::string_view word);

    const KeywordTable* table_;
    std::vector<Slot> slots_;
};

} // namespace quillmark
