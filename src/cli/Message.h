#pragma once

#include <ostream>
#include <string_view>

namespace quillmark::cli {

// Writes "quillmark: TEXT" and a line break to err, TEXT as TerminalText shows it. Every
// message of the commands goes through here, so that no name from outside reaches the
// terminal raw.
void WriteMessage(std::ostream& err, std::string_view text);

} // namespace quillmark::cli
