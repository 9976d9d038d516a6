#pragma once

#include "codemodel/Entry.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>

namespace quillmark {

struct LineRange {
    std::int32_t FirstLine = 0;
    std::int32_t LastLine = 0;
    bool operator==(const LineRange&) const = default;
};

// The lines of an entry in a module of moduleLineCount lines (at least 1) with this index;
// error 9 for a procedure that the index lacks.
LineRange EntryLines(const Entry& entry, const ProcedureIndex& index, std::int32_t moduleLineCount);

} // namespace quillmark
