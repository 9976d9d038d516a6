#include "conversion/KeywordLookup.h"

#include "codemodel/RuntimeError.h"

#include <cstring>

namespace quillmark {

namespace {

std::uint64_t Load8(const char* at)
{
    std::uint64_t value;
    std::memcpy(&value, at, 8);
    return value;
}

std::uint32_t Load4(const char* at)
{
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

} // namespace

KeywordLookup::KeywordLookup(const KeywordTable* table) : table_(table), slots_(std::size_t{1} << SlotBits)
{}

// Overlapping loads from both ends cover every character without reading past the word.
KeywordLookup::Key KeywordLookup::KeyOf(std::string_view word)
{
    const char* const w = word.data();
    const std::size_t n = word.size();
    Key key;
    key.length = n;
    if (n >= 8) {
        key.parts[0] = Load8(w);
        key.parts[1] = Load8(w + n - 8);
        if (n > 16) {
            key.parts[2] = Load8(w + 8);
            key.parts[3] = Load8(w + n - 16);
        }
    } else if (n >= 4) {
        key.parts[0] = Load4(w) | std::uint64_t{Load4(w + n - 4)} << 32;
    } else if (n > 0) {
        key.parts[0] = static_cast<unsigned char>(w[0]) | static_cast<unsigned char>(w[n / 2]) << 8 |
                       static_cast<unsigned char>(w[n - 1]) << 16;
    }
    return key;
}

bool KeywordLookup::IsKeyword(std::string_view word)
{
    if (!table_)
        throw RuntimeError(err::ObjectNotSet);
    if (!table_->MayExist(word))
        return false;
    if (word.size() > MaxCachedLength)
        return table_->Exists(word);

    const Key key = KeyOf(word);
    std::uint64_t hash = key.parts[0] ^ (key.parts[1] >> 7) ^ key.parts[2] ^ (key.parts[3] >> 13) ^ key.length;
    hash *= 0x9E3779B97F4A7C15u;
    Slot& slot = slots_[hash >> (64 - SlotBits)];
    if (slot.used && slot.key == key)
        return slot.keyword;

    slot.key = key;
    slot.used = true;
    slot.keyword = table_->Exists(word);
    return slot.keyword;
}

} // namespace quillmark
