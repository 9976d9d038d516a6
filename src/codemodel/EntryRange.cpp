#include "codemodel/EntryRange.h"

#include "base/RuntimeError.h"

namespace quillmark {

LineRange EntryLines(const Entry& entry, const ProcedureIndex& index, std::int32_t moduleLineCount)
{
    switch (entry.kind) {
    case Entry::Kind::WholeModule: return {1, moduleLineCount};
    case Entry::Kind::Declarations: {
        if (index.empty())
            throw RuntimeError(err::SubscriptOutOfRange);
        const std::int32_t s = index.front().FirstLine;
        if (s >= 2)
            return {1, s - 1};
        if (s == 1)
            return {1, 1};
        return {1, moduleLineCount};
    }
    case Entry::Kind::Procedure: break;
    }
    for (const ProcRecord& record : index)
        if (record.ProcName == entry.procName)
            return {record.FirstLine, record.LastLine};
    throw RuntimeError(err::SubscriptOutOfRange);
}

} // namespace quillmark
