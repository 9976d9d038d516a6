#include "platform/ui/TerminalOutput.h"

#include "platform/ui/TerminalText.h"

#include <iostream>
#include <string>
#include <unistd.h>

namespace quillmark {

namespace {

int TerminalMark()
{
    static const int index = std::ios_base::xalloc();
    return index;
}

enum Mark : long { Unmarked, Terminal, NoTerminal };

} // namespace

void MarkTerminal(std::ostream& out, bool terminal)
{
    out.iword(TerminalMark()) = terminal ? Terminal : NoTerminal;
}

bool ReachesTerminal(std::ostream& out)
{
    if (const long mark = out.iword(TerminalMark()); mark != Unmarked)
        return mark == Terminal;
    if (&out == &std::cout)
        return ::isatty(STDOUT_FILENO) == 1;
    if (&out == &std::cerr || &out == &std::clog)
        return ::isatty(STDERR_FILENO) == 1;
    return false;
}

void WriteTerminalLine(std::ostream& out, std::string_view text)
{
    if (!ReachesTerminal(out)) {
        out << text << '\n';
        return;
    }
    std::string shown;
    for (std::size_t tab; (tab = text.find('\t')) != std::string_view::npos; text.remove_prefix(tab + 1))
        shown += TerminalText(text.substr(0, tab)) + '\t';
    out << shown << TerminalText(text) << '\n';
}

} // namespace quillmark
