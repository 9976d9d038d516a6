#pragma once

#include "base/RuntimeError.h"
#include "codemodel/HostObjectModel.h"

#include <ostream>

namespace quillmark::cli {

// Every module of the project in its own order, each after a header line with its name and type
// ("' ==== Module1 (MOD) ===="), each line ending in LF alone, since a CR would stand out as
// trailing whitespace in every changed line of a diff. place follows the module being written.
void WriteProjectText(VBProject& project, std::ostream& out, ErrorPlace& place);

} // namespace quillmark::cli
