#pragma once

#include "cli/site/SiteProject.h"
#include "codemodel/ProcedureIndex.h"

#include <string>
#include <string_view>

namespace quillmark::cli {

// The page of a module up to its code: the title "Module — Project", the style sheet, the way
// back to the index, a note of what went wrong when there is one, and the jump links.
std::string ModulePageTop(const SiteProject& project, const SiteModule& module, const ProcedureIndex& index,
                          std::string_view problem, bool lineNumbers);

// What follows a procedure's code in its block: the procedures that use it, each a link to where it first
// does; nothing when none does.
std::string UsedByList(const SiteProject& project, const SiteModule& module, const SiteProcedure& procedure);

// What follows the code.
std::string_view ModulePageBottom();

} // namespace quillmark::cli
