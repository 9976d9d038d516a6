#include "cli/site/Progress.h"

#include <cstdio>

namespace quillmark::cli {

Progress::Progress(std::size_t total, bool shown, std::ostream& err)
    : total_(total), shown_(shown && total > 0), err_(err), start_(std::chrono::steady_clock::now())
{
    if (shown_)
        Draw();
}

void Progress::Done()
{
    if (!shown_)
        return;
    const std::lock_guard lock(lock_);
    ++done_;
    if (done_ == total_ || std::chrono::steady_clock::now() - drawn_ >= std::chrono::milliseconds(100))
        Draw();
}

void Progress::Finish()
{
    if (shown_)
        err_ << '\n' << std::flush;
}

void Progress::Draw()
{
    drawn_ = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(drawn_ - start_).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    err_ << "\rquillmark site: " << done_ << '/' << total_ << " modules, " << elapsed << std::flush;
}

} // namespace quillmark::cli
