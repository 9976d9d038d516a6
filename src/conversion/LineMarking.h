#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillmark {

// Lines first..last of a module, both included.
struct LineSpan {
    std::int32_t first;
    std::int32_t last;
};

// What an output shows beside its lines: their numbers in the module, and the lines it marks
// (spans in order, none overlapping).
struct LineMarking {
    bool numbered = false;
    std::vector<LineSpan> marked;

    bool IsMarked(std::int32_t line) const
    {
        const auto after = std::upper_bound(marked.begin(), marked.end(), line,
                                            [](std::int32_t n, const LineSpan& span) { return n < span.first; });
        return after != marked.begin() && line <= std::prev(after)->last;
    }
    bool Any() const { return numbered || !marked.empty(); }
};

} // namespace quillmark
