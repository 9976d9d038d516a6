#pragma once

#include "base/RuntimeError.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillmark {

// Items in insertion order, each under a unique key; adding a key already present fails.
template <typename T>
class KeyedCollection {
public:
    struct Entry {
        std::string key;
        T item;
    };

    void Add(T item, const std::string& key)
    {
        if (!index_.emplace(key, entries_.size()).second)
            throw RuntimeError(err::DuplicateKey);
        entries_.push_back({key, std::move(item)});
    }

    // Error 5 for an unknown key, as the host's collection does.
    const T& Item(const std::string& key) const
    {
        auto it = index_.find(key);
        if (it == index_.end())
            throw RuntimeError(err::InvalidCall);
        return entries_[it->second].item;
    }

    bool Contains(const std::string& key) const { return index_.count(key) != 0; }
    std::size_t Count() const { return entries_.size(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace quillmark
