#pragma once

#include <cstddef>
#include <functional>

namespace quillmark::cli {

// Calls work(0) ... work(count - 1), on up to jobs threads at a time (the calling thread is
// one of them). The first exception that work throws is thrown again once all have ended.
void RunInParallel(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work);

} // namespace quillmark::cli
