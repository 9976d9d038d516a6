#pragma once

#include "codemodel/KeywordTable.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmark {

// Keyword lookups of one conversion. The table is asked once, when the lookup is made, which of
// the keywords of the list it holds; each word of code is then answered from a perfect hash of
// the list, without a look into the table. Only a table that holds other keys besides is asked
// again, about each word that is none of the list.
class KeywordLookup {
public:
    // table may be null: every lookup then fails with error 91.
    explicit KeywordLookup(const KeywordTable* table);

    bool IsKeyword(std::string_view word) const
    {
        if (!table_)
            NoTable();
        if (!table_->MayExist(word)) // most words of code
            return false;
        if (word.size() <= Key::MaxLength) {
            const std::size_t keyword = hash_->Find(Key::Of(word));
            if (keyword != NoKeyword)
                return held_[keyword];
        }
        return othersHeld_ && table_->Exists(word);
    }

    // A word of up to 16 characters packed into two numbers that together hold every one of its
    // characters, so that two words are equal exactly when their keys are. The 16 bytes from
    // the word's start must be readable, as they are in the padded text of a module.
    struct Key {
        static constexpr std::size_t MaxLength = 16;

        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::size_t length = 0;

        static Key Of(std::string_view word);
        bool operator==(const Key&) const = default;
    };

    static constexpr std::size_t NoKeyword = static_cast<std::size_t>(-1);

    // The keywords of the list in a table without collisions.
    class Hash {
    public:
        Hash();
        // The keyword's index in the list, or NoKeyword.
        std::size_t Find(const Key& key) const
        {
            const std::uint8_t slot = slots_[Slot(key, multiplier_)];
            return slot != 0 && keys_[slot - 1] == key ? slot - 1u : NoKeyword;
        }

    private:
        static constexpr unsigned SlotBits = 12;
        static std::size_t Slot(const Key& key, std::uint64_t multiplier)
        {
            const std::uint64_t mixed = key.head ^ (key.tail * 0xFF51AFD7ED558CCDu) ^ key.length;
            return static_cast<std::size_t>((mixed * multiplier) >> (64 - SlotBits));
        }

        Key keys_[128];
        std::uint8_t slots_[std::size_t{1} << SlotBits] = {}; // a keyword's index + 1; 0 when empty
        std::uint64_t multiplier_ = 0;
    };

private:
    [[noreturn]] static void NoTable();

    const KeywordTable* table_;
    const Hash* hash_;
    std::bitset<128> held_;   // the keywords of the list that the table holds
    bool othersHeld_ = false; // the table holds keys that are none of the list
};

} // namespace quillmark
