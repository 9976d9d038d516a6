#pragma once

#include <ostream>
#include <string_view>

namespace quillmark::cli {

// Writes "quillmark: TEXT" and a line break to err, through WriteTerminalLine. Every message of
// the commands goes through here, so that no name from outside reaches a terminal raw.
void WriteMessage(std::ostream& err, std::string_view text);

} // namespace quillmark::cli
