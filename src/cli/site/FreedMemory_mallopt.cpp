#include "cli/site/FreedMemory.h"

#include <malloc.h>

namespace quillmark::cli {

void KeepFreedMemoryForReuse()
{
    // Only the small blocks of a module stay; this also keeps the allocator from raising its
    // threshold for large blocks, which then still go back to the system at once, so that a
    // large module leaves none of its memory behind.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}

} // namespace quillmark::cli
