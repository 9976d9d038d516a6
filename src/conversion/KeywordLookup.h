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
    static constexpr std::size_t MaxCachedLength = 30;
    static constexpr unsigned SlotBits = 10;
    static constexpr std::size_t SlotCount = std::size_t{1} << SlotBits;
    static constexpr std::uint8_t EmptySlot = 0xFF;

    struct Slot {
        std::uint8_t length = EmptySlot;
        bool keyword = false;
        char text[MaxCachedLength];
    };

    const KeywordTable* table_;
    std::vector<Slot> slots_;
};

} // namespace quillmark
