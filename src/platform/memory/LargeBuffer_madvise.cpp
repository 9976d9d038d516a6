#include "platform/memory/LargeBuffer.h"

#include <cstdint>
#include <sys/mman.h>

namespace quillmark {

void AdviseLargeBuffer(void* start, std::size_t size)
{
    // Only whole large pages inside the buffer can be backed so.
    constexpr std::uintptr_t LargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = (begin + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = (begin + size) & ~(LargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace quillmark
