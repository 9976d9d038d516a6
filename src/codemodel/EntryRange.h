#pragma once

#include <cstdint>
#include <string>

namespace quillmark {

struct LineRange {
    std::int32_t FirstLine = 0;
    std::int32_t LastLine = 0;
    bool operator==(const LineRange&) const = default;
};

// The lines of a procedure-list entry ("*", "_Declarations_" or an index name) in the current
// module; error 9 for a name that the procedure index lacks.
LineRange GetEntryRange(const std::string& entry);

} // namespace quillmark
