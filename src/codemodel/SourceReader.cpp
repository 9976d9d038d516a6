#include "codemodel/SourceReader.h"

namespace quillmark {

std::string SourceLines(CodeModule& module, std::int32_t firstLine, std::int32_t lastLine)
{
    const std::int32_t count = CheckedAdd(CheckedSub(lastLine, firstLine), 1);
    return module.Lines(firstLine, count);
}

} // namespace quillmark
