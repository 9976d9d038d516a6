#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace quillmark {

// The growing text of one conversion. Room is made once per line (Ensure) and the pieces are
// then copied in without further checks, which keeps the cost per marker to a plain copy.
class OutputBuffer {
public:
    std::size_t Size() const { return length_; }

    // Makes room for at least extra more characters.
    void Ensure(std::size_t extra)
    {
        if (text_.size() - length_ < extra)
            text_.resize(std::max(text_.size() * 2, length_ + extra));
    }

    // The caller has made room with Ensure.
    void Put(std::string_view piece)
    {
        std::memcpy(text_.data() + length_, piece.data(), piece.size());
        length_ += piece.size();
    }

    // A piece whose length is known when compiling, such as a marker; copied inline.
    template <std::size_t Length>
    void PutExactly(const char* piece)
    {
        std::memcpy(text_.data() + length_, piece, Length);
        length_ += Length;
    }

    void Append(std::string_view piece)
    {
        Ensure(piece.size());
        Put(piece);
    }

    // Inserts piece at position at, moving what follows; the caller has made room with Ensure.
    void Insert(std::size_t at, std::string_view piece)
    {
        char* const start = text_.data() + at;
        std::memmove(start + piece.size(), start, length_ - at);
        std::memcpy(start, piece.data(), piece.size());
        length_ += piece.size();
    }

    std::string Take()
    {
        text_.resize(length_);
        length_ = 0;
        return std::move(text_);
    }

private:
    std::string text_; // its size is the room made so far; only length_ characters are text
    std::size_t length_ = 0;
};

} // namespace quillmark
