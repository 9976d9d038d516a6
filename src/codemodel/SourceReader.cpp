#include "codemodel/SourceReader.h"

#include "codemodel/ModHtml.h"
#include "platform/ui/MessageBox.h"

namespace quillmark {

std::string ReadVbaWindow(const std::shared_ptr<VBProject>& project, std::int32_t firstLine, std::int32_t lastLine)
{
    try {
        auto module = Obj(Obj(Obj(project).VBComponents()).Item(ModHtml().CurrentModuleName)).CodeModule();
        const std::int32_t count = CheckedAdd(CheckedSub(lastLine, firstLine), 1);
        return Obj(module).Lines(firstLine, count);
    } catch (...) {
        MsgBox(ShortErrorReport(CurrentError()), "ModConvHTML.ReadVbaWindow");
        return {};
    }
}

} // namespace quillmark
