#include "cli/site/Callers.h"

#include "base/RuntimeError.h"
#include "cli/LineMarks.h"
#include "cli/site/CodeLinker.h"
#include "cli/site/NameMap.h"

namespace quillmark::cli {

std::vector<UsedName> NamesUsedIn(const ModuleView& view, const KeywordTable& keywords)
{
    std::vector<UsedName> used;
    std::size_t block = 0;
    NameSet seen; // "Qualifier.Name" of the block
    const auto collect = [&](const NameUse& use) {
        if (use.type)
            return std::string();
        while (block + 1 < view.index.size() && view.index[block].LastLine < use.line) {
            ++block;
            seen.clear();
        }
        const ProcRecord& record = view.index[block];
        if (record.ProcName.empty() || use.line < record.FirstLine) // the declarations
            return std::string();
        std::string key = std::string(use.qualifier) + "." + std::string(use.name);
        if (seen.insert(std::move(key)).second)
            used.push_back({use.line, std::string(use.qualifier), std::string(use.name)});
        return std::string();
    };
    std::string unused;
    const LineMarks marks(false, view.index);
    CodeLinker linker(collect, marks, unused, [](std::string& out) { out.clear(); });
    try {
        ConvertRange(view, &keywords, Entry{}, 1, view.lineCount, linker);
    } catch (const RuntimeError&) {
        return {};
    }
    return used;
}

void FindCallers(SiteProject& project, const ProjectProcedures& procedures)
{
    for (std::size_t m = 0; m < project.modules.size(); ++m) {
        SiteModule& module = project.modules[m];
        ProcedureIndex records;
        for (const SiteProcedure& procedure : module.procedures)
            records.push_back(procedure.record);
        const LineMarks marks(false, records);
        std::size_t block = 0;
        for (const UsedName& use : module.uses) {
            while (block + 1 < module.procedures.size() && module.procedures[block].record.LastLine < use.line)
                ++block;
            const auto definition = procedures.Resolve(m, {use.line, use.qualifier, use.name, false});
            if (!definition)
                continue;
            SiteModule& callee = project.modules[definition->module];
            SiteProcedure& target =
                callee.procedures[static_cast<std::size_t>(definition->procedure - callee.procedures.data())];
            if (&target == &module.procedures[block])
                continue;
            // A procedure's uses are found together: one that names it twice is there already.
            if (!target.usedBy.empty() && target.usedBy.back().module == m && target.usedBy.back().procedure == block)
                continue;
            target.usedBy.push_back({m, block, marks.IsTaken(use.line) ? 0 : use.line});
        }
        module.uses = {};
    }
}

} // namespace quillmark::cli
