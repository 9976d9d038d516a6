#include "cli/site/Site.h"

#include "base/PathText.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Message.h"
#include "cli/site/Callers.h"
#include "cli/site/CodeLinker.h"
#include "cli/site/FreedMemory.h"
#include "cli/site/IndexPage.h"
#include "cli/site/ModulePage.h"
#include "cli/site/Parallel.h"
#include "cli/site/Progress.h"
#include "cli/site/ProjectReader.h"
#include "cli/site/SiteFolder.h"
#include "cli/site/SitePaths.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "platform/files/AtomicFile.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

struct PageJob {
    const SiteProject* project;
    const ProjectProcedures* procedures;
    std::size_t module;
};

struct PageOutcome {
    bool written = false;
    std::optional<RuntimeError> problem; // also of a page written, with its code undecorated
};

// The files a site writes, whose temporary twins a stopped run may have left.
bool IsSiteFile(std::string_view name)
{
    return name == kStyleSheetFile || name.ends_with(".html");
}

// Writes the module's page: its code decorated and linked, or undecorated after the failure to
// decorate it. A conversion that fails leaves the page unwritten and throws its error.
void WritePage(const PageJob& job, const SiteFolder::File& page, const ModuleView& view, const KeywordTable& keywords,
               const std::optional<RuntimeError>& failed, bool lineNumbers)
{
    const SiteProject& project = *job.project;
    std::string note;
    if (failed) {
        const std::int32_t line = failed->Place().line;
        note = "This module could not be highlighted (" + (line > 0 ? "line " + std::to_string(line) + ": " : "") +
               failed->Problem() + ").";
    }
    AtomicFileWriter file(page.folder, page.name, NewFileAccess::Shared, Durability::Unsynced);
    file.Write(ModulePageTop(project, project.modules[job.module], view.index, note, lineNumbers));
    // The code goes to the file a chunk at a time. A failure to write is kept until the
    // conversion is over, so that it is not taken for one of the conversion.
    std::string chunk;
    std::exception_ptr writeFailure;
    const CodeLinker::Spill spill = [&](std::string& linked) {
        if (!writeFailure) {
            try {
                file.Write(linked);
            } catch (const RuntimeError&) {
                writeFailure = std::current_exception();
            }
        }
        linked.clear();
    };
    const LineMarks marks(lineNumbers, view.index);
    CodeLinker::Links links;
    if (!failed)
        links = [&](const NameUse& use) { return LinkOf(*job.procedures, project, job.module, use); };
    const SiteModule& module = project.modules[job.module];
    const CodeLinker::AfterBlock usedBy = [&](std::int32_t lastLine, std::string& out) {
        const auto procedure = std::lower_bound(
            module.procedures.begin(), module.procedures.end(), lastLine,
            [](const SiteProcedure& procedure, std::int32_t line) { return procedure.record.LastLine < line; });
        if (procedure != module.procedures.end() && procedure->record.LastLine == lastLine)
            out += UsedByList(project, module, *procedure);
    };
    CodeLinker linker(links, marks, chunk, spill, usedBy);
    if (!failed)
        ConvertRange(view, &keywords, Entry{}, 1, view.lineCount, linker);
    else
        PlainRange(view, Entry{}, 1, view.lineCount, linker);
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    file.Write(chunk);
    file.Write(ModulePageBottom());
    file.Commit();
}

// Converts the module and writes its page.
PageOutcome WriteModulePage(const PageJob& job, SiteFolder& site, const KeywordTable& keywords,
                            const SiteOptions& options)
{
    const SiteProject& project = *job.project;
    const SiteModule& module = project.modules[job.module];
    std::shared_ptr<MemoryCodeModule> code;
    try {
        code = ModuleCode(module, options.encoding);
    } catch (const RuntimeError& e) {
        return {false, e};
    }
    const ProcedureIndex index = IndexOf(code->Procedures().Blocks());
    const ModuleView view{module.name, code->Text(), index, std::max(code->CountOfLines(), 1)};

    std::optional<RuntimeError> failed;
    try {
        const SiteFolder::File page = site.FileFor(module.page);
        try {
            WritePage(job, page, view, keywords, failed, options.lineNumbers);
        } catch (const RuntimeError& e) {
            failed = e;
        }
        if (failed)
            WritePage(job, page, view, keywords, failed, options.lineNumbers);
    } catch (const RuntimeError& e) {
        return {false, e};
    }
    if (!failed)
        return {true, std::nullopt};
    ErrorPlace place =
        module.file.empty() ? ErrorPlace{project.path, module.name} : ErrorPlace{Utf8FromPath(module.file)};
    place.line = failed->Place().line;
    return {true, RuntimeError(failed->Number(), std::move(place),
                               failed->Problem() + "; its page shows the code undecorated")};
}

// Writes a file of the site at path in it; what went wrong, if anything.
std::optional<RuntimeError> WriteSiteFile(SiteFolder& site, std::string_view path, const std::string& text)
{
    try {
        const SiteFolder::File file = site.FileFor(path);
        AtomicFileWriter writer(file.folder, file.name, NewFileAccess::Shared, Durability::Unsynced);
        writer.Write(text);
        writer.Commit();
    } catch (const RuntimeError& e) {
        return e;
    }
    return std::nullopt;
}

// Leaves in projects only the modules whose pages were written (written: one flag a module, in
// order) and the projects that still have one.
void KeepWrittenPages(std::vector<SiteProject>& projects, const std::vector<char>& written)
{
    std::size_t page = 0;
    for (SiteProject& project : projects) {
        std::vector<SiteModule> kept;
        for (SiteModule& module : project.modules)
            if (written[page++])
                kept.push_back(std::move(module));
        project.modules = std::move(kept);
    }
    std::erase_if(projects, [](const SiteProject& project) { return project.modules.empty(); });
}

} // namespace

int BuildSite(const SiteOptions& options, std::ostream& err, bool showProgress)
{
    for (const std::string& path : options.paths) {
        if (path.empty()) {
            WriteMessage(err, "PATH is empty");
            return kUsage;
        }
    }
    const fs::path folder = PathFromUtf8(options.outputFolder);
    const InputFiles inputs(options.paths, options.recursive);
    for (const fs::path& path : {folder, folder / kIndexPage, folder / kStyleSheetFile}) {
        if (const std::string* input = inputs.Find(Utf8FromPath(path))) {
            WriteMessage(err, "-o " + options.outputFolder + ": " + (path == folder ? "it" : Utf8FromPath(path)) +
                                  " is one of the inputs (" + *input + ")");
            return kUsage;
        }
    }
    // The folder itself, not the folders above it.
    std::error_code ec;
    const bool made = fs::create_directory(folder, ec);
    if (ec) {
        WriteMessage(err, options.outputFolder + ": cannot make the output folder: " + ec.message());
        return kFailed;
    }
    // Held open from here on: what is written goes into this folder, whatever takes its name.
    std::optional<SiteFolder> site;
    try {
        site.emplace(
            folder,
            [&] {
                WriteMessage(err,
                             options.outputFolder + ": another run is writing a site there; waiting for it to end");
            },
            IsSiteFile);
    } catch (const RuntimeError& e) {
        WriteMessage(err, e.Message());
        return kFailed;
    }
    const unsigned jobs = options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    KeepFreedMemoryForReuse();

    ReadProjects read =
        ReadSiteProjects(options.paths, {options.recursive, options.encoding, jobs, Exclusions(options.excludes)});
    bool complete = read.problems.empty();
    for (const RuntimeError& problem : read.problems)
        WriteMessage(err, problem.Message() + "; left out");
    for (const SiteProject& project : read.projects) {
        for (const RuntimeError& problem : project.leftOut) {
            WriteMessage(err, problem.Message() + "; left out");
            complete = false;
        }
    }
    if (read.projects.empty()) {
        site.reset(); // Windows removes no folder that is held open
        if (made)
            fs::remove(folder, ec);
        WriteMessage(err, "no project could be read; nothing was written");
        return kFailed;
    }
    std::vector<SiteProject>& projects = read.projects;
    PlanPages(projects);
    // Pages left out, listed in the index with the reason as what could not be read is.
    std::vector<RuntimeError> unwritten = LeaveOutInputs(projects, folder, inputs);
    for (const RuntimeError& problem : unwritten) {
        WriteMessage(err, problem.Message());
        complete = false;
    }

    std::vector<ProjectProcedures> procedures;
    procedures.reserve(projects.size());
    std::vector<PageJob> pages;
    for (SiteProject& project : projects) {
        procedures.emplace_back(project);
        FindCallers(project, procedures.back());
        for (std::size_t m = 0; m < project.modules.size(); ++m)
            pages.push_back({&project, &procedures.back(), m});
    }

    // The style sheet goes first and the index last, listing only the pages written, so that
    // no run, however it ends, leaves a link to a page it did not write.
    if (const auto problem = WriteSiteFile(*site, kStyleSheetFile, StyleSheet(options.theme))) {
        WriteMessage(err, problem->Message() + "; nothing was written");
        return kFailed;
    }
    // The index is made while the pages are, as if every page will be written.
    const auto keywords = MakeKeywordTable();
    std::string index;
    std::vector<PageOutcome> outcomes(pages.size());
    Progress progress(pages.size(), showProgress, err);
    RunInParallel(pages.size() + 1, jobs, [&](std::size_t i) {
        if (i == 0) {
            index = IndexPage(projects, options.title, {read.problems, unwritten, Utf8FromPath(folder)});
            return;
        }
        outcomes[i - 1] = WriteModulePage(pages[i - 1], *site, *keywords, options);
        progress.Done();
    });
    progress.Finish();
    std::vector<char> written;
    for (PageOutcome& outcome : outcomes) {
        if (outcome.problem) {
            WriteMessage(err, outcome.problem->Message());
            complete = false;
            if (!outcome.written)
                unwritten.push_back(std::move(*outcome.problem));
        }
        written.push_back(outcome.written);
    }
    if (std::find(written.begin(), written.end(), false) != written.end()) {
        KeepWrittenPages(projects, written);
        index = projects.empty() ? ""
                                 : IndexPage(projects, options.title, {read.problems, unwritten, Utf8FromPath(folder)});
    }
    if (!index.empty()) {
        if (const auto problem = WriteSiteFile(*site, kIndexPage, index)) {
            WriteMessage(err, problem->Message());
            complete = false;
        }
    }
    return complete ? kDone : kFailed;
}

} // namespace quillmark::cli
