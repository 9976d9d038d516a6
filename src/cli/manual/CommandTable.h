#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace quillmark::cli {

// What an option's value is, as far as a shell can complete it.
enum class ValueKind {
    None,    // a flag
    Text,    // anything: a name, a title, a pattern
    Choice,  // one of the choices
    File,    // any file
    Folder,  // a folder
    Project, // a folder, a module file or a document
};

// An option of a command, or one of its positional arguments, as --help shows it.
struct OptionEntry {
    std::vector<std::string> names; // "-o", "--output"; empty for a positional argument
    std::string value;              // "FILE", "THEME", the argument's own name; empty for a flag
    ValueKind kind = ValueKind::None;
    std::vector<std::string> choices;
    std::string description;
    bool required = false;
    bool repeatable = false;
};

struct CommandEntry {
    std::string name; // empty for the program itself
    std::string description;
    std::vector<OptionEntry> options; // --help first, positional arguments last
};

// The program and then each of its commands, walked from the parser that --help describes, so
// that the manual and the completions made from it say what --help says.
std::vector<CommandEntry> CommandTableOf(CLI::App& app);

// The extensions (".bas", ".xlsm") that a project PATH's file may have.
std::vector<std::string> ProjectExtensions();

} // namespace quillmark::cli
