#pragma once

#include "codemodel/HostObjectModel.h"
#include "codemodel/RuntimeError.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillmark {

// A conversion that failed on one line of the module. Problem says what failed in plain words
// for the command line; the number and description stay what the message boxes show.
class ConversionError : public RuntimeError {
public:
    ConversionError(const RuntimeError& error, std::int32_t line, std::string problem)
        : RuntimeError(error), line_(line), problem_(std::move(problem))
    {}
    std::int32_t Line() const { return line_; }
    const std::string& Problem() const { return problem_; }

private:
    std::int32_t line_;
    std::string problem_;
};

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError (a ConversionError when a line fails);
// it reports nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

} // namespace quillmark
