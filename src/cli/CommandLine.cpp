#include "cli/CommandLine.h"

#include "cli/DescriptorOutput.h"
#include "cli/LineMarks.h"
#include "cli/Message.h"
#include "cli/OutputFormats.h"
#include "cli/StyleSheet.h"
#include "cli/Suggestion.h"
#include "cli/Textconv.h"
#include "cli/ThemeOption.h"
#include "platform/files/TemporaryFiles.h"
#include "platform/ui/TerminalOutput.h"
#include "sources/FileProjects.h"
#include "sources/TextDecoding.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <unistd.h>

namespace quillmark::cli {

namespace {

// quillmark.exe has no window, editor or registration: on Windows those are Quillmark.dll's, in
// the VBA editor.
#ifdef _WIN32
constexpr bool kDesktopCommands = false;
#else
constexpr bool kDesktopCommands = true;
#endif
constexpr std::array kDesktopCommandNames{"window", "editor", "register", "unregister"};

std::string Usage()
{
    std::string usage =
        "usage: quillmark convert [--links] [--inline-styles [--theme light|dark|editor]] [-o FILE] [--module NAME]\n"
        "                         [--entry ENTRY] [--encoding ENC] PATH...\n"
        "       quillmark convert [--format html|inline|markdown|ansi] [--line-numbers] [--highlight-lines LINES]\n"
        "                         [--colors none|16|256|truecolor] [--theme THEME] [--links] [-o FILE] ... PATH...\n"
        "       quillmark convert --page [--theme light|dark|editor] [--line-numbers] [--title TEXT] "
        "[--inline-styles]\n"
        "                         [--links] [-o FILE] [--module NAME] [--entry ENTRY] [--encoding ENC] PATH...\n"
        "       quillmark list    [--module NAME] [--encoding ENC] PATH...\n"
        "       quillmark source  [--module NAME] [--entry ENTRY] [--encoding ENC] PATH...\n"
        "       quillmark source  --all [--encoding ENC] PATH\n"
        "       quillmark textconv [--encoding ENC] PATH\n"
        "       quillmark css     [--page] [--theme light|dark|editor]\n"
        "       quillmark site    [--recursive] [--jobs N] [--theme light|dark|editor] [--line-numbers] [--title "
        "TEXT]\n"
        "                         [--exclude GLOB]... [--quiet] -o DIR PATH...\n"
        "       quillmark export  [--folders] [--encoding ENC] -o DIR PATH...\n";
    if (kDesktopCommands)
        usage += "       quillmark window  [--module NAME] [--encoding ENC] PATH...\n"
                 "       quillmark editor  [--encoding ENC] PATH...\n"
                 "       quillmark register [LIBRARY] | quillmark unregister [LIBRARY]\n";
    return usage + "       quillmark --version [--verbose]\n"
                   "Run 'quillmark --help' or 'quillmark COMMAND --help' for every option.\n";
}

constexpr const char* EncodingHelp = "Encoding of module files (e.g. UTF-8, CP932, CP1252; default: guessed per file)";
constexpr const char* LibraryHelp = "The add-in library (default: the libQuillmark.so installed with quillmark)";

void AddProjectOptions(CLI::App& command, Options& options, bool withEntry)
{
    command.add_option("--module", options.module, "Module to use (default: the first module of the first PATH)")
        ->type_name("NAME");
    if (withEntry)
        command
            .add_option("--entry", options.entry,
                        "Procedure-list entry: \"*\" (whole module, default), \"_Declarations_\" or a "
                        "procedure's name as `quillmark list --module M` prints it, e.g. \"Property Get Size\"; "
                        "case does not matter, and a procedure's own name will do when only one has it")
            ->type_name("ENTRY");
    command.add_option("--encoding", options.encoding, EncodingHelp)->type_name("ENC");
    command
        .add_option("PATH", options.paths,
                    "A project: a folder of .bas/.cls/.frm files, one module file, or an Office document; - reads "
                    "one module from standard input. The first PATH is the active project")
        ->required();
}

// Runs a command whose product goes to standard output; output that could not be written
// fails the command.
template <typename Command>
int WriteProduct(const Command& command)
{
    DescriptorOutput buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    MarkTerminal(out, ::isatty(STDOUT_FILENO) == 1);
    const int status = command(out);
    try {
        buffer.Finish();
    } catch (const RuntimeError& e) {
        return ReportFailure(std::cerr, e);
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
    if (std::find(kDesktopCommandNames.begin(), kDesktopCommandNames.end(), typed) != kDesktopCommandNames.end())
        return "\"" + typed +
               "\" is not a command of quillmark.exe: on Windows the window and the add-in are "
               "Quillmark.dll's, in the VBA editor; quillmark.exe runs convert, list, source, css and site";
    const std::string nearest = NearestWord(typed, names);
    return "unknown command \"" + typed + "\"" + (nearest.empty() ? "" : "; did you mean " + nearest + "?");
}

// The command that the arguments name, or the program itself when they name none.
const CLI::App& ParsedCommand(const CLI::App& app)
{
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    return parsed.empty() ? app : *parsed.front();
}

// "unknown option ..." for the first argument that the command did not take and that looks
// like an option, with the option of that command that was probably meant; empty when there is
// none.
std::string UnknownOption(const CLI::App& app)
{
    const CLI::App& command = ParsedCommand(app);
    for (const std::string& argument : app.remaining(true)) {
        if (argument.size() < 2 || argument[0] != '-')
            continue;
        // Compared without their dashes, so that "-links" finds "--links" and "-x" no "-h".
        std::vector<std::string> names;
        std::vector<std::string> spelled;
        for (const CLI::Option* option : command.get_options()) {
            for (const std::string& name : option->get_lnames()) {
                names.push_back(name);
                spelled.push_back("--" + name);
            }
            for (const std::string& name : option->get_snames()) {
                names.push_back(name);
                spelled.push_back("-" + name);
            }
        }
        const std::string typed = argument.substr(0, argument.find('='));
        std::string bare = typed;
        bare.erase(0, bare.find_first_not_of('-'));
        const std::string nearest = NearestWord(bare, names);
        std::string message = "unknown option \"" + typed + "\"";
        if (&command != &app)
            message += " for " + command.get_name();
        if (!nearest.empty())
            message +=
                "; did you mean " + spelled[std::find(names.begin(), names.end(), nearest) - names.begin()] + "?";
        return message;
    }
    return {};
}

} // namespace

CommandLine::CommandLine() : app("Quillmark turns the source code of VBA projects into an HTML fragment.")
{
    app.require_subcommand(0, 1);
    // The same options on Windows: "/x" is a path there too, never an option.
    app.allow_windows_style_options(false);
    app.add_flag("--version", version, "Print the version and exit");
    app.add_flag("--verbose", verbose, "With --version: the version information of the add-in library");

    convert = app.add_subcommand("convert", "Write the HTML fragment of a module or one of its entries");
    convert->add_flag("--links", options.links, "Put the list of jump links in front of the code");
    convert->add_flag("--page", options.page,
                      "Wrap the fragment in a standalone HTML page with a style sheet, for a browser");
    convert->add_flag("--inline-styles", options.inlineStyles,
                      "The theme's colours and fonts in style attributes instead of classes, for e-mail, word "
                      "processors and blog editors that drop style sheets; with --page, a page without a style "
                      "sheet, styled inline too");
    std::string formats;
    for (const OutputFormat& format : OutputFormats())
        formats += "; " + std::string(format.name) + ": " + std::string(format.help);
    convert->add_option("--format", options.format, "The output" + formats)
        ->type_name("FORMAT")
        ->check(CLI::IsMember([] {
            std::vector<std::string> names;
            for (const OutputFormat& format : OutputFormats())
                names.emplace_back(format.name);
            return names;
        }()));
    AddThemeOption(*convert, options.theme);
    convert
        ->add_option("--colors", options.colours,
                     "With --format ansi: none, 16, 256 or truecolor (default: as COLORTERM and TERM say; none "
                     "when NO_COLOR is set)")
        ->type_name("COLORS")
        ->check(CLI::IsMember({"none", "16", "256", "truecolor"}));
    convert->add_flag("--line-numbers", options.lineNumbers,
                      "Number the lines as the editor does (the module's numbers, --entry too); in HTML each number "
                      "is a link to its line, and copied code carries no numbers");
    convert
        ->add_option_function<std::string>(
            "--highlight-lines",
            [this](const std::string& list) {
                const auto spans = ParseLineList(list);
                if (!spans)
                    throw CLI::ValidationError("--highlight-lines", list + ": give lines as 3,7-9");
                options.highlighted = *spans;
            },
            "Mark these lines of the module, as a site marks its #L<n> line: numbers and spans such as 3,7-9")
        ->type_name("LINES");
    convert->add_option("--title", options.title,
                        "With --page: the page's title and heading (default: \"Module — "
                        "Project\", the module's and its project's names)");
    convert
        ->add_option("-o,--output", options.output,
                     "Write to FILE instead of standard output; FILE is replaced whole or not at all")
        ->type_name("FILE");
    AddProjectOptions(*convert, options, true);

    list = app.add_subcommand("list", "Without --module: the modules of the active project (\"MOD Module1\"); with "
                                      "--module: the procedure list, one entry a line as ENTRY<TAB>FIRST<TAB>LAST");
    AddProjectOptions(*list, options, false);

    source = app.add_subcommand("source", "Write the plain source text of a module or one of its entries");
    source->add_flag("--all", options.all,
                     "Every module of the project, each after a line \"' ==== NAME (TYPE) ====\", for git diff's "
                     "textconv; a document without VBA gives no text");
    AddProjectOptions(*source, options, true);

    textconv = app.add_subcommand("textconv", "git's textconv: source --all's text of a document, or in its place "
                                              "one line that says why there is none (\"' ==== damaged: ... ====\", "
                                              "locked for viewing, encrypted, unreadable); always exit status 0");
    textconv->add_option("--encoding", options.encoding, EncodingHelp)->type_name("ENC");
    textconv->add_option("PATH", options.paths, "The document (or module file, or folder) that git gives")
        ->required()
        ->expected(1);

    css = app.add_subcommand("css", "Print the fragment's style sheet: rules for its code blocks (CodeArea), their "
                                    "classes (Deco1 to Deco5) and line numbers only, so that a blog or any other "
                                    "page around the fragment keeps its own look");
    css->add_flag("--page", cssPage,
                  "The whole style sheet of a site and of convert --page instead, the page's body, links and "
                  "headings included");
    AddThemeOption(*css, cssTheme);

    AddSiteCommand(app, site);
    AddExportCommand(app, exporter);

    if (!kDesktopCommands)
        return;
    window = app.add_subcommand("window", "Open the converter window over the projects");
    AddProjectOptions(*window, options, false);

    editor = app.add_subcommand(
        "editor", "Open the stand-in editor over the projects; load Quillmark in its Add-Ins > Add-In Manager");
    editor->add_option("--encoding", options.encoding, EncodingHelp)->type_name("ENC");
    editor
        ->add_option("PATH", options.paths,
                     "A project (folder of module files, module file, Office document) or a folder of projects")
        ->required();

    registerAddIn = app.add_subcommand("register", "Register the add-in library for the current user");
    registerAddIn->add_option("LIBRARY", library, LibraryHelp);
    unregisterAddIn = app.add_subcommand("unregister", "Remove every registration entry of the add-in library");
    unregisterAddIn->add_option("LIBRARY", library, LibraryHelp);
}

std::optional<int> CommandLine::Parse(int argc, char** argv)
{
    if (const std::string unknown = UnknownCommand(app, argc, argv); !unknown.empty()) {
        WriteMessage(std::cerr, unknown);
        std::cerr << Usage();
        return kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // An option that the command lacks is named, not buried in the usage of every command.
        if (const std::string unknown = UnknownOption(app); !unknown.empty()) {
            const CLI::App& command = ParsedCommand(app);
            WriteMessage(std::cerr, unknown);
            std::cerr << "Run 'quillmark " << (&command == &app ? "" : command.get_name() + " ")
                      << "--help' for every option.\n";
            return kUsage;
        }
        WriteMessage(std::cerr, e.what());
        std::cerr << Usage();
        return kUsage;
    }
    if (const std::string misuse = Misuse(); !misuse.empty()) {
        WriteMessage(std::cerr, misuse);
        std::cerr << Usage();
        return kUsage;
    }
    options.themeGiven = convert->count("--theme") > 0;
    // Said once here rather than for every module that would be read in it.
    const std::string& encoding = site.command->parsed() ? site.options.encoding : options.encoding;
    if (!encoding.empty()) {
        try {
            DecodeToUtf8({}, encoding);
        } catch (const RuntimeError& e) {
            WriteMessage(std::cerr, "--encoding " + encoding +
                                        ": unknown encoding; give one such as UTF-8, CP932, CP1252 or UTF-16LE");
            return e.GetKind() == RuntimeError::Kind::BadUsage ? kUsage : kFailed;
        }
    }
    return std::nullopt;
}

std::string CommandLine::Misuse() const
{
    if (!version && app.get_subcommands().empty())
        return "a command is required";
    const bool isSite = site.command->parsed();
    for (const std::string& path : isSite ? site.options.paths : options.paths) {
        if (path.empty())
            return "PATH is empty";
        if (isSite && path == StandardInput)
            return "site reads no standard input; give the module file, its folder or the document as PATH";
    }
    // Pages declare UTF-8; a title from a terminal in another encoding would make them lie.
    const std::string& title = isSite ? site.options.title : options.title;
    if (!IsValidUtf8(title))
        return "--title is not valid UTF-8 text; give it in UTF-8, as the pages are written";
    if (isSite && site.options.outputFolder.empty())
        return "-o DIR is empty";
    if (exporter.command->parsed()) {
        if (exporter.options.outputFolder.empty())
            return "-o DIR is empty";
        for (const std::string& path : exporter.options.paths)
            if (path.empty() || path == StandardInput)
                return "export reads no standard input and no empty PATH; give the document, module file or folder";
    }
    if (convert->parsed() && convert->count("--output") > 0 && options.output.empty())
        return "-o FILE is empty";
    if (convert->parsed())
        if (const std::string misuse = FormatMisuse(); !misuse.empty())
            return misuse;
    if (options.all && (source->count("--module") > 0 || source->count("--entry") > 0))
        return "--all prints every module whole; it takes no --module or --entry";
    return {};
}

std::string CommandLine::FormatMisuse() const
{
    if (options.inlineStyles && !options.format.empty() && options.format != "inline")
        return "--inline-styles is --format inline; it does not go with --format " + options.format;
    const OutputFormat& format = *FormatOf(options);
    if (!options.page && convert->count("--title") > 0)
        return "--title shapes the page that --page writes; add --page";
    const unsigned takes = format.takes | (options.page ? TakesTheme : 0u);
    if (convert->count("--theme") > 0 && !(takes & TakesTheme))
        return format.takes & TakesPage ? "--theme shapes the page that --page writes or the styles that "
                                          "--inline-styles writes; add one of them"
                                        : "--theme does not go with --format " + std::string(format.name);
    const std::pair<const char*, unsigned> shaping[] = {
        {"--links", TakesLinks},
        {"--page", TakesPage},
        {"--line-numbers", TakesLineNumbers},
        {"--highlight-lines", TakesHighlightLines},
        {"--colors", TakesColours},
    };
    for (const auto& [option, bit] : shaping)
        if (convert->count(option) > 0 && !(takes & bit))
            return std::string(option) + " does not go with --format " + std::string(format.name);
    return {};
}

bool CommandLine::WantsDesktop() const
{
    if (version)
        return verbose;
    return kDesktopCommands &&
           (window->parsed() || editor->parsed() || registerAddIn->parsed() || unregisterAddIn->parsed());
}

int RunCommand(CommandLine& line)
{
    if (line.version) {
        std::cout << "quillmark " << QUILLMARK_VERSION << '\n';
        return kDone;
    }
    if (line.site.command->parsed()) {
        RemoveTemporaryFilesOnSignals();
        return RunSiteCommand(line.site);
    }
    if (line.exporter.command->parsed()) {
        RemoveTemporaryFilesOnSignals();
        return ExportModules(line.exporter.options, std::cerr);
    }
    if (line.convert->parsed() && !line.options.output.empty()) {
        RemoveTemporaryFilesOnSignals();
        return ConvertToFile(line.options, std::cerr);
    }
    for (auto [command, run] : {std::pair{line.convert, &Convert}, {line.list, &List}, {line.source, &Source}}) {
        if (command->parsed())
            return WriteProduct([&, run = run](std::ostream& out) { return run(line.options, out, std::cerr); });
    }
    if (line.textconv->parsed())
        return WriteProduct([&](std::ostream& out) { return Textconv(line.options, out); });
    if (line.css->parsed()) {
        return WriteProduct([&](std::ostream& out) {
            out << (line.cssPage ? StyleSheet(line.cssTheme) : FragmentStyleSheet(line.cssTheme));
            return kDone;
        });
    }
    return kUsage;
}

} // namespace quillmark::cli
