#include "cli/site/SiteCommand.h"

#include "cli/Commands.h"
#include "cli/Message.h"
#include "cli/ThemeOption.h"

#include <iostream>
#include <new>
#include <unistd.h>

namespace quillmark::cli {

void AddSiteCommand(CLI::App& app, SiteCommand& site)
{
    SiteOptions& options = site.options;
    site.command = app.add_subcommand(
        "site", "Write a browsable site of whole projects: an index with a search box and a page per module, "
                "whose names of procedures and modules link to their definitions");
    CLI::App& command = *site.command;
    command.add_option("-o,--output", options.outputFolder, "The folder to write the site into")
        ->type_name("DIR")
        ->required();
    command.add_flag("--recursive", options.recursive,
                     "Read module files in the subfolders of a folder too; each page keeps its file's folder");
    command.add_option("--jobs", options.jobs, "Modules converted at a time (default: one per processor)")
        ->type_name("N")
        ->check(CLI::Range(1u, 1024u));
    AddThemeOption(command, options.theme);
    command.add_flag("--line-numbers", options.lineNumbers, "Number the lines (copied code carries no numbers)");
    command.add_option("--title", options.title, "The heading of the index (default: the projects' names)");
    command
        .add_option("--exclude", options.excludes,
                    "Leave out the files and folders that match GLOB (repeatable): without \"/\" a name at any "
                    "depth (\"*.bak.bas\", \"old\"), with \"/\" a path below the project's folder "
                    "(\"src/legacy\"); * and ? do not match \"/\", case does not matter; the index lists what "
                    "was left out")
        ->type_name("GLOB")
        ->expected(1)
        ->take_all();
    command.add_flag("--quiet", site.quiet, "No progress line");
    command
        .add_option("--encoding", options.encoding,
                    "Encoding of module files (e.g. UTF-8, CP932, CP1252; default: guessed per file)")
        ->type_name("ENC");
    command
        .add_option("PATH", options.paths,
                    "A project: a folder of .bas/.cls/.frm files, one module file, or an Office document")
        ->required();
}

int RunSiteCommand(SiteCommand& site)
{
    try {
        return BuildSite(site.options, std::cerr, !site.quiet && ::isatty(STDERR_FILENO));
    } catch (const std::bad_alloc&) {
        std::string paths;
        for (const std::string& path : site.options.paths)
            paths += (paths.empty() ? "" : ", ") + path;
        WriteMessage(std::cerr, "out of memory making the site of " + paths);
        return kFailed;
    } catch (const std::exception& e) {
        WriteMessage(std::cerr, e.what());
        return kFailed;
    }
}

} // namespace quillmark::cli
