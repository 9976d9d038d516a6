#pragma once

#include "cli/manual/CommandTable.h"

#include <ostream>
#include <string_view>

namespace quillmark::cli {

// The manual page quillmark(1) in roff: a synopsis line for the program and each command, the
// program's options, each command with its options, and the exit statuses.
void WriteManPage(std::ostream& out, const std::vector<CommandEntry>& table, std::string_view version);

} // namespace quillmark::cli
