#pragma once

#include "codemodel/HostObjectModel.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillmark {

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError; it reports nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

} // namespace quillmark
