#pragma once

#include <cstdint>
#include <cstring>

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

} // namespace byteblocks

} // namespace quillmark
