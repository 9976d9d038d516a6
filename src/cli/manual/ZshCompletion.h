#pragma once

#include "cli/manual/CommandTable.h"

#include <ostream>

namespace quillmark::cli {

// The zsh completion function _quillmark: commands and options with their descriptions, the
// values of an option with choices, and file names as each command and option reads them.
void WriteZshCompletion(std::ostream& out, const std::vector<CommandEntry>& table);

} // namespace quillmark::cli
