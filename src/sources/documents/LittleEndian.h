#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmark {

// The unsigned little-endian number of bytes bytes at data[at]; the caller checks the range.
inline std::uint64_t Little(std::string_view data, std::size_t at, std::size_t bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(data[at + i])) << (8 * i);
    }
    return value;
}

} // namespace quillmark
