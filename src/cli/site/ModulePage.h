#pragma once

#include "cli/site/SiteProject.h"
#include "conversion/ModuleView.h"

#include <string>
#include <string_view>

namespace quillmark::cli {

// The page of a module up to its code: the title "Module — Project", the style sheet, the way
// back to the index, a note of what went wrong when there is one, and the jump links.
std::string ModulePageTop(const SiteProject& project, const SiteModule& module, const ProcedureIndex& index,
                          std::string_view problem, bool lineNumbers);

// What follows the code.
std::string_view ModulePageBottom();

// The module's lines escaped but undecorated, in the blocks that a conversion gives them: the
// page of a module that cannot be converted, so that nothing is lost and links into it still
// find their blocks.
std::string PlainFragment(const ModuleView& module);

} // namespace quillmark::cli
