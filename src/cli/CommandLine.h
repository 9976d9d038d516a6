#pragma once

#include "cli/Commands.h"
#include "cli/export/Export.h"
#include "cli/site/SiteCommand.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace quillmark::cli {

// Every command of quillmark with its options, defined once for the two programs that parse
// them: quillmark, and quillmark-desktop, which runs the commands that need the window toolkit.
struct CommandLine {
    CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Parses the arguments; an exit status when there is nothing more to do (help, bad usage).
    std::optional<int> Parse(int argc, char** argv);

    // window, editor, register, unregister and --version --verbose.
    bool WantsDesktop() const;

    CLI::App app;
    Options options;
    SiteCommand site;
    ExportCommand exporter;
    std::string library; // the add-in library; empty for the one beside the program
    bool version = false;
    bool verbose = false;
    CLI::App* convert = nullptr;
    CLI::App* list = nullptr;
    CLI::App* source = nullptr;
    CLI::App* textconv = nullptr;
    CLI::App* css = nullptr;
    bool cssPage = false;
    ThemeName cssTheme = ThemeName::Light;
    CLI::App* window = nullptr;
    CLI::App* editor = nullptr;
    CLI::App* registerAddIn = nullptr;
    CLI::App* unregisterAddIn = nullptr;

private:
    // What makes the parsed command line bad usage; empty when nothing does.
    std::string Misuse() const;
    // What makes convert's options bad usage for the output they ask for; empty when nothing does.
    std::string FormatMisuse() const;
};

// Runs what needs no window toolkit: convert, list, source, site, --version.
int RunCommand(CommandLine& line);

} // namespace quillmark::cli
