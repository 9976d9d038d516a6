#include "codemodel/EntryRange.h"

#include "codemodel/ModHtml.h"
#include "codemodel/RuntimeError.h"

namespace quillmark {

LineRange GetEntryRange(const std::string& entry)
{
    const auto& state = ModHtml();
    if (entry == "*")
        return {1, state.ModuleLineCount};
    if (entry == "_Declarations_") {
        if (state.ProcIndex.empty())
            throw RuntimeError(err::SubscriptOutOfRange);
        const std::int32_t s = state.ProcIndex.front().FirstLine;
        if (s >= 2)
            return {1, s - 1};
        if (s == 1)
            return {1, 1};
        return {1, state.ModuleLineCount};
    }
    for (const ProcRecord& record : state.ProcIndex)
        if (record.ProcName == entry)
            return {record.FirstLine, record.LastLine};
    throw RuntimeError(err::SubscriptOutOfRange);
}

} // namespace quillmark
