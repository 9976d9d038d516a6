#pragma once

#include "cli/site/NameMap.h"
#include "cli/site/SiteProject.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// A name used in a module's code, where a link may stand.
struct NameUse {
    std::int32_t line;
    std::string_view qualifier; // "Module" of "Module.Name", "Me", or empty
    std::string_view name;
    bool type; // where only a type may stand: "As T", "New T", "Implements T", "TypeOf x Is T"
};

// The procedures and modules of a project by name, and which of them a name used in a module's
// code means, as VBA finds it: the module's own procedure first, else the public procedure of
// the one standard module that has one of that name, else a module of that name; "Module.Name"
// (not of a class, whose procedures are reached through objects) and "Me.Name" look in that
// module. Names compare ignoring case. Of a property, its Get is the one linked to, else its Let
// or Set.
class ProjectProcedures {
public:
    explicit ProjectProcedures(const SiteProject& project);

    struct Definition {
        std::size_t module;
        const SiteProcedure* procedure;
    };
    // qualifier: empty, "Me" or a module's name.
    std::optional<Definition> Find(std::size_t from, std::string_view qualifier, std::string_view name) const;
    // The module of that name, class or not.
    std::optional<std::size_t> FindModule(std::string_view name) const;
    // What a name used in module from means: a procedure, else for a name alone a module; a type
    // only a module.
    std::optional<Definition> Resolve(std::size_t from, const NameUse& use) const;

private:
    struct Candidate {
        Definition definition;
        bool isPrivate;
        int rank; // the lower, the likelier a name means this one
    };
    using ByName = NameMap<Candidate>;

    struct ModuleEntry {
        std::size_t index;
        bool isClass;
    };
    NameMap<ModuleEntry> modules_;
    std::vector<ByName> ownProcedures_; // of each module
    // Public procedures of standard modules; none where two modules have one of the name.
    NameMap<std::optional<Definition>> standardProcedures_;
};

// The href that a name used on module's page links to: the statement line of the procedure it
// means, or the page of another module; "" for none.
std::string LinkOf(const ProjectProcedures& procedures, const SiteProject& project, std::size_t module,
                   const NameUse& use);

} // namespace quillmark::cli
