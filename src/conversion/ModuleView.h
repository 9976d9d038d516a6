#pragma once

#include "codemodel/ModuleText.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <string_view>

namespace quillmark {

// What a conversion reads of one module: views of what the caller holds, which must outlive
// the call (a name returned by value needs a variable of its own). The engine keeps nothing of
// it between calls, so different modules may be converted at the same time.
struct ModuleView {
    std::string_view name; // its declarations block is "<name>.Declarations"
    const ModuleText& lines;
    const ProcedureIndex& index; // as GetModData builds it
    std::int32_t lineCount;      // the module's lines, at least 1
};

} // namespace quillmark
