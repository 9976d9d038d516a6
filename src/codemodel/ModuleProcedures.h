#pragma once

#include "codemodel/HostObjectModel.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>

namespace quillmark {

// The procedure index of a module, walked procedure by procedure through the code source's
// ProcOfLine and ProcCountLines as the window builds it, with the module's last line examined
// too. procCount and lineCount (the module's lines, at least 1) are written as the walk learns
// them, so that after a failure they say how far it got. A property whose kind the source does
// not report is asked again with each raised kind; error 35 when no kind finds it.
ProcedureIndex ReadProcedureIndex(CodeModule& module, std::int32_t& procCount, std::int32_t& lineCount);

} // namespace quillmark
