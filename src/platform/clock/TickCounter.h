#pragma once

#include <cstdint>
#include <functional>

namespace quillmark {

// Milliseconds since an arbitrary start, truncated to 32 bits: wraps after about 49.7 days,
// like the system tick counter the timer was written for.
std::uint32_t timeGetTime();

using TickSource = std::function<std::uint32_t()>;

} // namespace quillmark
