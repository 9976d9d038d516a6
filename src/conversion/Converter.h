#pragma once

#include "codemodel/HostObjectModel.h"
#include "codemodel/RuntimeError.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillmark {

// A conversion that failed on one line of the module (for example an unterminated string).
class ConversionError : public RuntimeError {
public:
    ConversionError(const RuntimeError& error, std::int32_t line) : RuntimeError(error), line_(line) {}
    std::int32_t Line() const { return line_; }

private:
    std::int32_t line_;
};

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError (a ConversionError when a line fails);
// it reports nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

} // namespace quillmark
