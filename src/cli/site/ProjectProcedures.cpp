#include "cli/site/ProjectProcedures.h"

#include "base/AsciiText.h"
#include "cli/site/SitePaths.h"
#include "codemodel/HostObjectModel.h"

namespace quillmark::cli {

namespace {

int Rank(std::int32_t kind)
{
    switch (kind) {
    case vbext_pk::Proc: return 0;
    case vbext_pk::Get: return 1;
    case vbext_pk::Let: return 2;
    default: return 3;
    }
}

} // namespace

ProjectProcedures::ProjectProcedures(const SiteProject& project) : ownProcedures_(project.modules.size())
{
    for (std::size_t m = 0; m < project.modules.size(); ++m) {
        const SiteModule& module = project.modules[m];
        modules_.emplace(module.name, ModuleEntry{m, module.type == vbext_ct::ClassModule});
        for (const SiteProcedure& procedure : module.procedures) {
            if (procedure.record.ProcName.empty())
                continue;
            const Candidate candidate{{m, &procedure}, procedure.isPrivate, Rank(procedure.record.Kind)};
            const auto [it, added] = ownProcedures_[m].emplace(std::string(DeclaredName(procedure.record)), candidate);
            if (!added && candidate.rank < it->second.rank)
                it->second = candidate;
        }
    }
    for (std::size_t m = 0; m < project.modules.size(); ++m) {
        if (project.modules[m].type != vbext_ct::StdModule)
            continue;
        for (const auto& [key, candidate] : ownProcedures_[m]) {
            if (candidate.isPrivate)
                continue;
            const auto [it, added] = standardProcedures_.emplace(key, candidate.definition);
            if (!added)
                it->second.reset(); // ambiguous without its module's name
        }
    }
}

std::optional<ProjectProcedures::Definition> ProjectProcedures::Find(std::size_t from, std::string_view qualifier,
                                                                     std::string_view name) const
{
    std::size_t module = from;
    if (!qualifier.empty() && !SameName(qualifier, "Me")) {
        // A class's procedures are reached through an object, which could be named anything.
        const auto it = modules_.find(qualifier);
        if (it == modules_.end() || it->second.isClass)
            return std::nullopt;
        module = it->second.index;
    }
    if (const auto own = ownProcedures_[module].find(name); own != ownProcedures_[module].end())
        if (module == from || !own->second.isPrivate)
            return own->second.definition;
    if (!qualifier.empty())
        return std::nullopt;
    if (const auto standard = standardProcedures_.find(name); standard != standardProcedures_.end())
        return standard->second;
    return std::nullopt;
}

std::optional<std::size_t> ProjectProcedures::FindModule(std::string_view name) const
{
    const auto it = modules_.find(name);
    return it == modules_.end() ? std::nullopt : std::optional(it->second.index);
}

std::optional<ProjectProcedures::Definition> ProjectProcedures::Resolve(std::size_t from, const NameUse& use) const
{
    if (use.type)
        return std::nullopt;
    return Find(from, use.qualifier, use.name);
}

std::string LinkOf(const ProjectProcedures& procedures, const SiteProject& project, std::size_t module,
                   const NameUse& use)
{
    const std::string& page = project.modules[module].page;
    if (const auto definition = procedures.Resolve(module, use))
        return Href(page, project.modules[definition->module].page, ProcedureAnchor(*definition->procedure));
    if (!use.qualifier.empty())
        return {};
    // A module's own name would only lead to the top of the page it is on.
    if (const auto other = procedures.FindModule(use.name); other && *other != module)
        return Href(page, project.modules[*other].page);
    return {};
}

} // namespace quillmark::cli
