#pragma once

#include "base/RuntimeError.h"
#include "cli/site/Exclusions.h"
#include "cli/site/SiteProject.h"

#include <string>
#include <vector>

namespace quillmark::cli {

struct ReadOptions {
    bool recursive = false; // module files in subfolders too
    std::string encoding;   // empty: guessed per file
    unsigned jobs = 1;
    Exclusions excluded; // files and folders of a project's folder left out
};

struct ReadProjects {
    std::vector<SiteProject> projects;  // in the order of the paths
    std::vector<RuntimeError> problems; // of the paths left out whole
};

// The projects of paths. A path that cannot be read, a project locked for viewing, and a folder
// none of whose module files can be read are left out, each with its problems; a module file
// that cannot be read, links to a file outside its project's folder, or whose name another
// module of the project already has is left out with its problem, listed with its project, as
// is what the exclusions leave out.
ReadProjects ReadSiteProjects(const std::vector<std::string>& paths, const ReadOptions& options);

// The module's code: kept, or read again from its file. Throws RuntimeError.
std::shared_ptr<MemoryCodeModule> ModuleCode(const SiteModule& module, const std::string& encoding);

} // namespace quillmark::cli
