#include "cli/Commands.h"
#include "cli/DescriptorOutput.h"
#include "cli/Suggestion.h"
#include "cli/site/SiteCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <unistd.h>

#ifdef QUILLMARK_GUI
#include "platform/editor/FileProjects.h"
#include "platform/editor/SourceError.h"
#include "window/qt/WindowApp.h"

#include "addin/Registration.h"
#include "codemodel/RuntimeError.h"
#include "platform/editor/standin/RunEditor.h"
#endif

namespace {

using quillmark::cli::Options;

constexpr const char* kUsageText =
    "usage: quillmark convert [--links] [--page] [--module NAME] [--entry ENTRY] [--encoding ENC] PATH...\n"
    "       quillmark list    [--module NAME] [--encoding ENC] PATH...\n"
    "       quillmark source  [--module NAME] [--entry ENTRY] [--encoding ENC] PATH...\n"
    "       quillmark site    [--recursive] [--jobs N] [--theme light|dark|editor] [--line-numbers] [--quiet] -o DIR "
    "PATH...\n"
#ifdef QUILLMARK_GUI
    "       quillmark window  [--module NAME] [--encoding ENC] PATH...\n"
    "       quillmark editor  [--encoding ENC] PATH...\n"
    "       quillmark register [LIBRARY] | quillmark unregister [LIBRARY]\n"
#endif
    "       quillmark --version [--verbose]\n"
    "Run 'quillmark --help' or 'quillmark COMMAND --help' for every option.\n";

void AddProjectOptions(CLI::App& command, Options& options, bool withEntry)
{
    command.add_option("--module", options.module, "Module to use (default: the first module of the first PATH)");
    if (withEntry)
        command.add_option("--entry", options.entry,
                           "Procedure-list entry: \"*\" (whole module, default), \"_Declarations_\" or a "
                           "procedure's name as `quillmark list --module M` prints it, e.g. \"Property Get Size\"");
    command.add_option("--encoding", options.encoding,
                       "Encoding of module files (e.g. UTF-8, CP932, CP1252; default: guessed per file)");
    command
        .add_option("PATH", options.paths,
                    "A project: a folder of .bas/.cls/.frm files, one module file, or an Office document; - reads "
                    "one module from standard input. The first PATH is the active project")
        ->required();
}

// Runs a command whose product goes to standard output; output that could not be written
// fails the command.
int WriteProduct(int (*command)(const Options&, std::ostream&, std::ostream&), const Options& options)
{
    quillmark::cli::DescriptorOutput buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    const int status = command(options, out, std::cerr);
    if (const int error = buffer.Finish()) {
        std::cerr << "quillmark: cannot write output: " << std::strerror(error) << '\n';
        return quillmark::cli::kFailed;
    }
    return status;
}

// "unknown command ..." when the first argument names no command, with the one that was
// probably meant; empty otherwise.
std::string UnknownCommand(CLI::App& app, int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-')
        return {};
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        names.push_back(command->get_name());
    const std::string typed = argv[1];
    if (std::find(names.begin(), names.end(), typed) != names.end())
        return {};
    const std::string nearest = quillmark::cli::NearestWord(typed, names);
    return "unknown command \"" + typed + "\"" + (nearest.empty() ? "" : "; did you mean " + nearest + "?");
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Quillmark turns the source code of VBA projects into an HTML fragment."};
    app.require_subcommand(0, 1);
    Options options;
    bool version = false;
    [[maybe_unused]] bool verbose = false; // a build without the add-in library has no more to say
    app.add_flag("--version", version, "Print the version and exit");
    app.add_flag("--verbose", verbose, "With --version: the version information of the add-in library");

    auto* convert = app.add_subcommand("convert", "Write the HTML fragment of a module or one of its entries");
    convert->add_flag("--links", options.links, "Put the list of jump links in front of the code");
    convert->add_flag("--page", options.page,
                      "Wrap the fragment in a standalone HTML page with a style sheet, for a browser");
    AddProjectOptions(*convert, options, true);

    auto* list = app.add_subcommand(
        "list", "Without --module: the modules of the active project (\"MOD Module1\"); with --module: the "
                "procedure list, one entry a line as ENTRY<TAB>FIRST<TAB>LAST");
    AddProjectOptions(*list, options, false);

    auto* source = app.add_subcommand("source", "Write the plain source text of a module or one of its entries");
    AddProjectOptions(*source, options, true);

    quillmark::cli::SiteCommand site;
    AddSiteCommand(app, site);

#ifdef QUILLMARK_GUI
    auto* window = app.add_subcommand("window", "Open the converter window over the projects");
    AddProjectOptions(*window, options, false);

    auto* editor = app.add_subcommand(
        "editor", "Open the stand-in editor over the projects; load Quillmark in its Add-Ins > Add-In Manager");
    editor->add_option("--encoding", options.encoding,
                       "Encoding of module files (e.g. UTF-8, CP932, CP1252; default: guessed per file)");
    editor
        ->add_option("PATH", options.paths,
                     "A project (folder of module files, module file, Office document) or a folder of projects")
        ->required();
    std::string library = quillmark::AddInLibraryPath();
    auto* registerAddIn = app.add_subcommand("register", "Register the add-in library for the current user");
    registerAddIn->add_option("LIBRARY", library, "The add-in library (default: libQuillmark.so beside quillmark)");
    auto* unregisterAddIn = app.add_subcommand("unregister", "Remove every registration entry of the add-in library");
    unregisterAddIn->add_option("LIBRARY", library, "The add-in library (default: libQuillmark.so beside quillmark)");
#endif

    if (const std::string unknown = UnknownCommand(app, argc, argv); !unknown.empty()) {
        std::cerr << "quillmark: " << unknown << '\n' << kUsageText;
        return quillmark::cli::kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "quillmark: " << e.what() << '\n' << kUsageText;
        return quillmark::cli::kUsage;
#ifdef QUILLMARK_GUI
    } catch (const quillmark::RuntimeError& e) {
        std::cerr << "quillmark: " << e.Description() << '\n';
        return quillmark::cli::kFailed;
#endif
    }

    using namespace quillmark::cli;
    if (version) {
#ifdef QUILLMARK_GUI
        if (verbose) {
            std::cout << quillmark::VersionText(library);
            return kDone;
        }
#endif
        std::cout << "quillmark " << QUILLMARK_VERSION << '\n';
        return kDone;
    }
    if (app.get_subcommands().empty()) {
        std::cerr << "quillmark: a command is required\n" << kUsageText;
        return kUsage;
    }
    for (const std::string& path : options.paths) {
        if (path.empty()) {
            std::cerr << "quillmark: PATH is empty\n" << kUsageText;
            return kUsage;
        }
    }
    if (site.command->parsed())
        return RunSiteCommand(site);
    for (auto [command, run] : {std::pair{convert, &Convert}, {list, &List}, {source, &Source}}) {
        if (command->parsed())
            return WriteProduct(run, options);
    }
#ifdef QUILLMARK_GUI
    if (window->parsed()) {
        try {
            auto editor = quillmark::OpenEditor(options.paths, options.module, options.encoding);
            for (const std::string& note : quillmark::LockedProjectNotes(*editor))
                std::cerr << "quillmark: " << note << '\n';
            return quillmark::RunWindow(argc, argv, editor);
        } catch (const quillmark::SourceError& e) {
            std::cerr << "quillmark: " << e.what() << '\n';
            return kFailed;
        }
    }
    if (editor->parsed())
        return quillmark::RunEditor(argc, argv, options.paths, options.encoding);
    if (registerAddIn->parsed())
        return quillmark::RegisterAddIn(library);
    if (unregisterAddIn->parsed())
        return quillmark::UnregisterAddIn(library);
#endif
    return kUsage;
}
