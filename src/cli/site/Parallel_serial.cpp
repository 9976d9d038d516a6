// The web build has no threads: the work is done in order, whatever the jobs.

#include "cli/site/Parallel.h"

namespace quillmark::cli {

void RunInParallel(std::size_t count, unsigned, const std::function<void(std::size_t)>& work)
{
    for (std::size_t i = 0; i < count; ++i)
        work(i);
}

} // namespace quillmark::cli
