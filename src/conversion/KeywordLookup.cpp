#include "conversion/KeywordLookup.h"

#include "codemodel/RuntimeError.h"

#include <cstring>

namespace quillmark {

KeywordLookup::KeywordLookup(const KeywordTable* table) : table_(table), slots_(SlotCount) {}

bool KeywordLookup::IsKeyword(std::string_view word)
{
    if (!table_)
        throw RuntimeError(err::ObjectNotSet);
    const std::size_t length = word.size();
    if (length > MaxCachedLength)
        return table_->Exists(word);

    // A few characters and the length tell most words of a module apart; a clash only costs a
    // lookup in the table.
    const auto at = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(word[i])); };
    std::uint32_t hash = static_cast<std::uint32_t>(length);
    if (length > 0)
        hash = ((hash * 31 + at(0)) * 31 + at(length - 1)) * 31 + at(length / 2);
    Slot& slot = slots_[(hash * 0x9E3779B1u) >> (32 - SlotBits)];
    if (slot.length == length) {
        std::size_t i = 0;
        while (i < length && slot.text[i] == word[i])
            ++i;
        if (i == length)
            return slot.keyword;
    }

    slot.keyword = table_->Exists(word);
    slot.length = static_cast<std::uint8_t>(length);
    std::memcpy(slot.text, word.data(), length);
    return slot.keyword;
}

} // namespace quillmark
