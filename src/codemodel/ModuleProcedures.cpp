#include "codemodel/ModuleProcedures.h"

#include <string>
#include <vector>

namespace quillmark {

namespace {

struct Procedure {
    std::string name;
    std::int32_t kind = 0;
    std::int32_t lineCount = 0;
};

// The procedure owning line and its line count. A host that leaves kind as passed in makes
// ProcCountLines fail with 35 for a property; the kind is then raised and the line asked again.
Procedure ProcedureAt(CodeModule& module, std::int32_t line)
{
    Procedure p;
    for (;;) {
        p.name = module.ProcOfLine(line, p.kind);
        try {
            p.lineCount = module.ProcCountLines(p.name, p.kind);
        } catch (const RuntimeError& e) {
            if (e.Number() != err::ProcedureNotDefined || p.kind >= vbext_pk::Get)
                throw;
            ++p.kind;
            continue;
        }
        // A block of no lines would never let the walk move on.
        if (p.lineCount < 1)
            throw RuntimeError(err::InvalidCall);
        return p;
    }
}

} // namespace

ProcedureIndex ReadProcedureIndex(CodeModule& module, std::int32_t& procCount, std::int32_t& lineCount)
{
    procCount = 0;
    lineCount = 0;
    std::vector<ProcRecord> index(1);
    std::int32_t total = module.CountOfLines();
    if (total == 0)
        total = 1;
    lineCount = total;

    // The first procedure line; the module's last line is examined too.
    std::int32_t first = 0;
    for (std::int32_t line = 1; line <= total; ++line) {
        std::int32_t kind = 0;
        if (!module.ProcOfLine(line, kind).empty()) {
            first = line;
            break;
        }
    }
    if (first == 0)
        return index;
    for (std::int32_t line = first; line <= total;) {
        line = CheckedAdd(line, ProcedureAt(module, line).lineCount);
        procCount = CheckedAdd(procCount, 1);
    }
    index.assign(static_cast<std::size_t>(procCount), {});
    std::size_t position = 0;
    for (std::int32_t line = first; line <= total; ++position) {
        const Procedure p = ProcedureAt(module, line);
        ProcRecord& record = index.at(position); // a host that changed under us fails here
        record.ProcName = IndexName(p.name, p.kind);
        record.Kind = p.kind;
        record.FirstLine = line;
        record.LastLine = CheckedAdd(line, p.lineCount - 1);
        line = CheckedAdd(line, p.lineCount);
    }
    return index;
}

} // namespace quillmark
