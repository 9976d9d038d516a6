#pragma once

#include <ostream>
#include <string_view>

namespace quillmark {

// Says whether out, a stream over a descriptor, reaches a terminal.
void MarkTerminal(std::ostream& out, bool terminal);

// As marked; else whether out is standard output or standard error and that reaches a terminal.
bool ReachesTerminal(std::ostream& out);

// Writes text and a line break to out: as TerminalText shows it, tabs kept, when out reaches a
// terminal, so that a name from outside can neither move the cursor nor hide what follows; else
// unchanged, so that a program that reads the line gets every name as it is. The one rule for
// lines that carry names (messages, lists); what a writer sends to a terminal on purpose, such
// as colours, goes to out itself.
void WriteTerminalLine(std::ostream& out, std::string_view text);

} // namespace quillmark
