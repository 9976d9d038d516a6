#pragma once

#include "codemodel/ProcedureIndex.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// The procedure-list entry a user means by wanted: "*", "_Declarations_", or the procedure whose
// index name matches case-insensitively (the editor compares names so), or whose declared name
// does when only one procedure has it ("Count" for "Property Get Count"). Without a match, error
// 9 says why and names the entries there are.
std::string FindEntry(std::string_view wanted, const ProcedureIndex& index);

// word as one word for a POSIX shell: quoted only when it has to be.
std::string ShellWord(std::string_view word);

// "quillmark COMMAND ARGUMENTS...", each argument quoted for the shell.
std::string ShellCommand(const std::string& command, const std::vector<std::string>& arguments);

} // namespace quillmark::cli
