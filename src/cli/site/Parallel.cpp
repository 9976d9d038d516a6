#include "cli/site/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quillmark::cli {

void RunInParallel(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work)
{
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>(std::max(jobs, 1u), count);
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(worker);
    worker();
    helpers.clear(); // joins
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quillmark::cli
