#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillmark {

// Tests on eight bytes at once, for scans where most bytes pass: only a block that holds a byte
// of interest needs a look at each byte.
namespace byteblocks {

inline constexpr std::size_t Size = 8;

inline std::uint64_t Load(const char* at)
{
    std::uint64_t block;
    std::memcpy(&block, at, sizeof block);
    return block;
}

inline constexpr std::uint64_t Ones = 0x0101010101010101;
inline constexpr std::uint64_t HighBits = 0x8080808080808080;

// Some byte has its high bit set: the block is not all ASCII.
constexpr bool HasHighBit(std::uint64_t block)
{
    return (block & HighBits) != 0;
}

// Some byte is below limit (at most 128).
constexpr bool HasByteBelow(std::uint64_t block, unsigned char limit)
{
    return ((block - Ones * limit) & ~block & HighBits) != 0;
}

// Some byte equals c.
constexpr bool HasByte(std::uint64_t block, char c)
{
    return HasByteBelow(block ^ (Ones * static_cast<unsigned char>(c)), 1);
}

inline constexpr std::uint64_t LowBits = 0x7F7F7F7F7F7F7F7F;

// The high bit of each byte that equals c, and no other bit: unlike the tests above, exact for
// each byte, so that masks of several tests can be combined.
constexpr std::uint64_t BytesEqual(std::uint64_t block, char c)
{
    const std::uint64_t x = block ^ (Ones * static_cast<unsigned char>(c));
    return ~(((x & LowBits) + LowBits) | x | LowBits);
}

// The high bit of each byte below limit (at most 128), and no other bit.
constexpr std::uint64_t BytesBelow(std::uint64_t block, unsigned char limit)
{
    return ~((block & LowBits) + Ones * (0x80 - limit)) & ~block & HighBits;
}

// A mask of the first n bytes of a block (n at most 8), to take the bytes after them for zeros.
constexpr std::uint64_t FirstBytes(std::size_t n)
{
    const std::uint64_t low = n >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
    if constexpr (std::endian::native == std::endian::little)
        return low;
    else
        return n >= 8 ? low : ~(~std::uint64_t{0} >> (8 * n));
}

// The first byte whose high bit is set in mask, which has no other bits.
inline std::size_t FirstMarked(std::uint64_t mask)
{
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    else
        return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
}

// The position of the first byte of text from `from` on that is none of Skipped (such as the
// indentation of a line), or text.size().
template <char... Skipped>
std::size_t Skip(std::string_view text, std::size_t from = 0)
{
    for (; from + Size <= text.size(); from += Size) {
        const std::uint64_t block = Load(text.data() + from);
        const std::uint64_t others = ~(std::uint64_t{0} | ... | BytesEqual(block, Skipped)) & HighBits;
        if (others != 0)
            return from + FirstMarked(others);
    }
    while (from < text.size() && ((text[from] == Skipped) || ...))
        ++from;
    return from;
}

// Sixteen bytes at a time, in vector registers where the target has them (the vector
// extensions of GCC and Clang) and in plain integers where it has none. Vectors are only ever
// passed by reference: passed by value, they would be passed differently by the two.
using Vector = std::uint8_t __attribute__((vector_size(16)));
inline constexpr std::size_t VectorSize = 16;

inline void LoadVector(const char* at, Vector& vector)
{
    std::memcpy(&vector, at, VectorSize);
}

// Some byte of marks (a result of comparisons: all ones or zero) is marked.
inline bool AnyMarked(const Vector& marks)
{
    std::uint64_t halves[2];
    std::memcpy(halves, &marks, VectorSize);
    return (halves[0] | halves[1]) != 0;
}

} // namespace byteblocks

} // namespace quillmark
