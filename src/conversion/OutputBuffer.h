#pragma once

#include "platform/memory/LargeBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quillmark {

// Most pieces of code are words of a few characters: copied inline, in at most two overlapping
// moves, instead of by a call.
inline void CopyText(char* to, const char* from, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, n);
    }
}

// The growing text of one conversion. Appending a piece costs one comparison and a plain copy;
// memory is set aside in advance (Reserve) and first touched a chunk at a time, just before it
// is written.
class OutputBuffer {
public:
    std::size_t Size() const { return length_; }
    // Characters that fit before the buffer has to move.
    std::size_t Room() const { return text_.capacity() - length_; }

    // Sets aside memory for extra more characters without touching it.
    void Reserve(std::size_t extra) { Grow(length_ + extra); }

    void Append(std::string_view piece)
    {
        Ensure(piece.size());
        CopyText(text_.data() + length_, piece.data(), piece.size());
        length_ += piece.size();
    }

    // Room for at most n more characters, which the caller writes from the pointer returned
    // and then hands to Commit.
    char* Claim(std::size_t n)
    {
        Ensure(n);
        return text_.data() + length_;
    }

    // The characters written up to end (within what Claim gave) are text.
    void Commit(const char* end) { length_ = static_cast<std::size_t>(end - text_.data()); }

    // How many lines a writer writes before it knows how much memory the rest will take.
    static constexpr std::int32_t SampleLines = 256;

    // Once the first lines of a conversion took `written` characters, sets aside memory at once
    // for what they promise for the rest (a quarter more), rather than moving a large output
    // again and again as it grows.
    void ReserveLike(std::size_t written, std::size_t linesDone, std::size_t linesLeft)
    {
        const std::size_t perLine = written / linesDone + 1;
        Reserve(linesLeft * perLine + linesLeft * perLine / 4);
    }

    std::string Take()
    {
        text_.resize(length_);
        length_ = 0;
        return std::move(text_);
    }

private:
    static constexpr std::size_t Chunk = 64 * 1024;
    static constexpr std::size_t LargeBuffer = 8 * 1024 * 1024;

    void Ensure(std::size_t extra)
    {
        if (text_.size() - length_ < extra)
            MakeRoom(extra);
    }

    void MakeRoom(std::size_t extra)
    {
        std::size_t wanted = length_ + std::max(extra, Chunk);
        if (length_ + extra <= text_.capacity())
            wanted = std::min(wanted, text_.capacity()); // the room set aside is used up first
        else if (wanted > text_.capacity())
            Grow(std::max(text_.capacity() * 2, wanted));
        text_.resize(wanted);
    }

    void Grow(std::size_t capacity)
    {
        if (capacity <= text_.capacity())
            return;
        text_.reserve(capacity);
        if (capacity >= LargeBuffer)
            AdviseLargeBuffer(text_.data(), text_.capacity());
    }

    std::string text_; // its size is the room made so far; only length_ characters are text
    std::size_t length_ = 0;
};

} // namespace quillmark
