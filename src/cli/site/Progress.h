#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>

namespace quillmark::cli {

// A line on the error stream that tells how many modules of how many are done and the time
// since the start, redrawn in place at most ten times a second. Draws nothing when not shown.
class Progress {
public:
    Progress(std::size_t total, bool shown, std::ostream& err);

    // One more module done; any thread may call it.
    void Done();
    // Ends the line, so that what follows starts on a line of its own.
    void Finish();

private:
    void Draw();

    std::size_t total_;
    bool shown_;
    std::ostream& err_;
    std::mutex lock_;
    std::size_t done_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point drawn_;
};

} // namespace quillmark::cli
