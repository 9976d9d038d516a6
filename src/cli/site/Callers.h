#pragma once

#include "cli/site/ProjectProcedures.h"
#include "cli/site/SiteProject.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"

#include <vector>

namespace quillmark::cli {

// The names that the module's procedures use where they may mean a procedure, each once in a
// procedure (at its first use), in line order, as its page links them; none when the code cannot
// be converted (its page links nothing).
std::vector<UsedName> NamesUsedIn(const ModuleView& view, const KeywordTable& keywords);

// Gives each procedure of project the procedures that use it, from the names its modules use,
// which it lets go of then. A procedure that calls itself is not its own caller.
void FindCallers(SiteProject& project, const ProjectProcedures& procedures);

} // namespace quillmark::cli
