#pragma once

#include "base/RuntimeError.h"
#include "codemodel/ProcedureIndex.h"
#include "codemodel/ProjectLists.h"
#include "sources/MemorySource.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillmark::cli {

// A procedure that uses another: one of a module's procedures, and where it first does.
struct Caller {
    std::size_t module;
    std::size_t procedure;
    std::int32_t line; // 0 when that line has no anchor of its own
};

struct SiteProcedure {
    ProcRecord record;
    bool isPrivate = false;
    // Its statement's line, where links to it land; 0 when that line has no anchor of its own
    // (a procedure named like the line, "Sub L12", holds it).
    std::int32_t line = 0;
    std::vector<Caller> usedBy; // in module order, then line order
};

// A name that a procedure's code uses where it may mean a procedure, as it stands there.
struct UsedName {
    std::int32_t line;
    std::string qualifier;
    std::string name;
};

// The anchor that links to the procedure land on: its statement's line, not the comments above
// it; else its block.
inline std::string ProcedureAnchor(const SiteProcedure& procedure)
{
    return procedure.line > 0 ? "L" + std::to_string(procedure.line) : procedure.record.ProcName;
}

// What the site knows of a module before its page is made: enough for the index and for links
// into it, and its code while the project's code is small enough to keep; else its code is read
// again for the page.
struct SiteModule {
    std::string name;
    std::int32_t type = 0;
    std::int32_t lineCount = 0;
    std::vector<SiteProcedure> procedures;  // the procedure blocks, in module order
    std::string folder;                     // of its file below the project's folder, "/"-separated; "" at the top
    std::filesystem::path file;             // its module file; empty for a module of a document
    std::shared_ptr<MemoryCodeModule> held; // its code, when kept
    std::string page;                       // the page's path in the site, "/"-separated
    std::vector<UsedName> uses;             // until its callers are found
};

// A file or folder of a project's folder that --exclude left out.
struct ExcludedPath {
    std::string path; // below the project's folder, "/"-separated, a folder's with a trailing "/"
    std::string pattern;
};

struct SiteProject {
    std::string path;   // made absolute, for messages
    std::string name;   // the bare file name, as the window lists projects
    std::string folder; // of its pages in the site
    std::vector<SiteModule> modules;
    std::vector<ExcludedPath> excluded;
    std::vector<RuntimeError> leftOut; // module files that could not be read, each at its file
};

// The module type as the window's module list tags it: "MOD", "CLS", ...
inline std::string TypeLabel(std::int32_t type)
{
    std::string prefix = TypePrefix(type);
    prefix.pop_back();
    return prefix;
}

} // namespace quillmark::cli
