#include "conversion/KeywordLookup.h"

#include "base/RuntimeError.h"
#include "codemodel/ByteBlocks.h"
#include "codemodel/ModuleText.h"
#include "conversion/Keywords.h"

#include <cstring>
#include <stdexcept>

namespace quillmark {

namespace {

// Calls f with each word of the keyword list and its index.
template <typename F>
void ForEachListedKeyword(F f)
{
    std::string_view rest = KeywordList;
    for (std::size_t index = 0;; ++index) {
        const std::size_t comma = rest.find(',');
        f(rest.substr(0, comma), index);
        if (comma == std::string_view::npos)
            return;
        rest.remove_prefix(comma + 1);
    }
}

} // namespace

KeywordLookup::Key KeywordLookup::Key::Of(std::string_view word)
{
    const std::size_t n = word.size();
    return {byteblocks::Load(word.data()) & byteblocks::FirstBytes(n),
            byteblocks::Load(word.data() + 8) & byteblocks::FirstBytes(n > 8 ? n - 8 : 0), n};
}

// Tries multipliers in a fixed order until one puts every keyword in a slot of its own: with
// 128 keywords in 4,096 slots, about one in eight does.
KeywordLookup::Hash::Hash()
{
    std::size_t count = 0;
    ForEachListedKeyword([&](std::string_view word, std::size_t index) {
        char padded[Key::MaxLength + ModuleText::Padding] = {};
        std::memcpy(padded, word.data(), word.size());
        keys_[index] = Key::Of({padded, word.size()});
        count = index + 1;
    });
    if (count != std::size(keys_))
        throw std::logic_error("the keyword list does not hold 128 words");
    for (std::uint64_t candidate = 0x9E3779B97F4A7C15u;; candidate += 0x632BE59BD9B4E019u) {
        std::memset(slots_, 0, sizeof slots_);
        bool collision = false;
        for (std::size_t k = 0; k < count && !collision; ++k) {
            std::uint8_t& slot = slots_[Slot(keys_[k], candidate | 1)];
            collision = slot != 0;
            slot = static_cast<std::uint8_t>(k + 1);
        }
        if (!collision) {
            multiplier_ = candidate | 1;
            return;
        }
    }
}

void KeywordLookup::NoTable()
{
    throw RuntimeError(err::ObjectNotSet);
}

KeywordLookup::KeywordLookup(const KeywordTable* table) : table_(table)
{
    static const Hash hash;
    hash_ = &hash;
    if (!table_)
        return;
    std::size_t held = 0;
    ForEachListedKeyword([&](std::string_view word, std::size_t index) {
        if (table_->Exists(word)) {
            held_.set(index);
            ++held;
        }
    });
    othersHeld_ = table_->Count() > held;
}

} // namespace quillmark
