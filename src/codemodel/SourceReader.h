#pragma once

#include "codemodel/HostObjectModel.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillmark {

// Plain source text of lines firstLine..lastLine of the current module; reports a failure
// itself and then returns empty text.
std::string ReadVbaWindow(const std::shared_ptr<VBProject>& project, std::int32_t firstLine, std::int32_t lastLine);

} // namespace quillmark
