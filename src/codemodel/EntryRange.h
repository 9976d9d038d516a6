#pragma once

#include "codemodel/Entry.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <string>

namespace quillmark {

struct LineRange {
    std::int32_t FirstLine = 0;
    std::int32_t LastLine = 0;
    bool operator==(const LineRange&) const = default;
};

// The lines of an entry in a module of moduleLineCount lines (at least 1) with this index;
// error 9 for a procedure that the index lacks.
LineRange EntryLines(const Entry& entry, const ProcedureIndex& index, std::int32_t moduleLineCount);

// The lines of a procedure-list entry ("*", "_Declarations_" or an index name) in the current
// module; error 9 for a name that the procedure index lacks.
LineRange GetEntryRange(const std::string& entry);

} // namespace quillmark
