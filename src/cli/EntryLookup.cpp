#include "cli/EntryLookup.h"

#include "base/AsciiText.h"
#include "base/RuntimeError.h"
#include "codemodel/Entry.h"

#include <algorithm>

namespace quillmark::cli {

namespace {

std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

std::string FindEntry(std::string_view wanted, const ProcedureIndex& index)
{
    std::vector<std::string> entries{Entry{}.Text(), Entry{Entry::Kind::Declarations, {}}.Text()};
    for (const std::string& fixed : entries)
        if (SameName(wanted, fixed))
            return fixed;

    std::vector<std::string> byDeclaredName;
    for (const ProcRecord& record : index) {
        if (record.ProcName.empty())
            continue; // the placeholder of a module without procedures
        if (SameName(record.ProcName, wanted))
            return record.ProcName;
        if (SameName(DeclaredName(record), wanted))
            byDeclaredName.push_back(record.ProcName);
        entries.push_back(record.ProcName);
    }
    if (byDeclaredName.size() == 1)
        return byDeclaredName.front();
    if (byDeclaredName.size() > 1)
        throw RuntimeError(err::SubscriptOutOfRange, {},
                           "\"" + std::string(wanted) +
                               "\" names more than one procedure: " + JoinedNames(byDeclaredName) +
                               "; give the whole entry, e.g. --entry " + ShellWord(byDeclaredName.front()));
    throw RuntimeError(err::SubscriptOutOfRange, {},
                       "no entry \"" + std::string(wanted) + "\"; the entries are " + JoinedNames(entries));
}

std::string ShellWord(std::string_view word)
{
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("_-./:=@%+,").find(c) != std::string_view::npos;
    });
    if (plain)
        return std::string(word);
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ShellCommand(const std::string& command, const std::vector<std::string>& arguments)
{
    std::string line = "quillmark " + command;
    for (const std::string& argument : arguments)
        line += " " + ShellWord(argument);
    return line;
}

} // namespace quillmark::cli
