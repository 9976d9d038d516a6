#pragma once

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace quillmark::cli {

struct ExportOptions {
    std::vector<std::string> paths;
    std::string outputFolder;
    std::string encoding; // of the files written; empty: the project's code page (UTF-8 for module files)
    bool folders = false; // laid out by '@Folder annotations
};

struct ExportCommand {
    ExportOptions options;
    CLI::App* command = nullptr;
};

// Adds `quillmark export` with its options to app, parsing into export.
void AddExportCommand(CLI::App& app, ExportCommand& command);

// Writes every module of every project into options.outputFolder as the editor's Export File
// does; a project of its own folder there when there are several. Messages go to err; the exit
// status is 1 when anything was left out.
int ExportModules(const ExportOptions& options, std::ostream& err);

} // namespace quillmark::cli
