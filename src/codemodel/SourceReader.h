#pragma once

#include "codemodel/HostObjectModel.h"

#include <cstdint>
#include <string>

namespace quillmark {

// Plain source text of lines firstLine..lastLine of the module, as the code source gives it:
// line breaks between the lines, no escaping. Error 6 when the line count overflows.
std::string SourceLines(CodeModule& module, std::int32_t firstLine, std::int32_t lastLine);

} // namespace quillmark
