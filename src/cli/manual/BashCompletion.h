#pragma once

#include "cli/manual/CommandTable.h"

#include <ostream>

namespace quillmark::cli {

// A bash completion script for quillmark: commands, each command's options, the values of an
// option with choices, and file names as each command and option reads them.
void WriteBashCompletion(std::ostream& out, const std::vector<CommandEntry>& table);

} // namespace quillmark::cli
