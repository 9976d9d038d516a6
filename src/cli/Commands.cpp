#include "cli/Commands.h"

#include "cli/EntryLookup.h"
#include "cli/FileOutput.h"
#include "cli/InputFiles.h"
#include "cli/ProjectText.h"
#include "cli/Message.h"
#include "cli/OutputFormats.h"
#include "codemodel/EntryRange.h"
#include "codemodel/ModuleProcedures.h"
#include "codemodel/ProjectLists.h"
#include "codemodel/SourceReader.h"
#include "codemodel/TextBackedModule.h"
#include "conversion/Keywords.h"
#include "platform/ui/TerminalOutput.h"
#include "sources/FileProjects.h"
#include "sources/documents/VbaFormatError.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace quillmark::cli {
namespace {

// The active project of the paths, as the window would open on it.
struct Project {
    std::shared_ptr<MemoryEditor> editor;
    std::shared_ptr<VBProject> project;
};

// The module that the editor's active code pane shows, with its procedure index.
struct Module {
    std::string name;
    std::shared_ptr<CodeModule> code;
    ProcedureIndex index;
    std::int32_t procCount = 0;
    std::int32_t lineCount = 0; // at least 1
};

// Each step names in place what it has opened, so that a failure after it says where it was.
Project OpenActiveProject(const Options& options, ErrorPlace& place)
{
    Project opened;
    place.path = options.paths.front() == StandardInput ? StandardInputName : options.paths.front();
    opened.editor = OpenEditor(options.paths, options.module, options.encoding);
    opened.project = opened.editor->ActiveVBProject();
    place.path = opened.project->FileName();
    if (opened.project->Protection() != 0)
        throw RuntimeError(err::ProjectProtected, {},
                           "the VBA project is locked for viewing; Quillmark shows none of its code");
    return opened;
}

Module OpenModule(const Project& opened, ErrorPlace& place)
{
    Module module;
    try {
        module.name = ActiveModuleName(*opened.editor);
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.Number(), {}, "the project has no module to show");
    }
    place.module = module.name;
    module.code = Obj(Obj(opened.project->VBComponents()).Item(module.name)).CodeModule();
    module.index = ReadProcedureIndex(Obj(module.code), module.procCount, module.lineCount);
    return module;
}

// The entry that the user means, as the procedure list holds it.
std::string FindEntryOf(const Options& options, const Module& module)
{
    try {
        return FindEntry(options.entry, module.index);
    } catch (const RuntimeError& e) {
        std::vector<std::string> arguments{"--module", module.name};
        if (!options.encoding.empty())
            arguments.insert(arguments.end(), {"--encoding", options.encoding});
        arguments.insert(arguments.end(), options.paths.begin(), options.paths.end());
        throw RuntimeError(e.Number(), {},
                           e.Problem() + " (" + ShellCommand("list", arguments) + " lists them with their lines)");
    }
}

// Says which module a project of several gave, and how to have the others.
void NoteOtherModules(const Options& options, const Project& opened, const Module& module, std::ostream& err)
{
    const std::int32_t count = Obj(opened.project->VBComponents()).Count();
    if (count < 2)
        return;
    WriteMessage(err, "converted module " + module.name + ", the first of " + std::to_string(count) +
                          " modules; choose another with --module NAME (" +
                          ShellCommand("list", {options.paths.front()}) + " lists them) or convert them all with " +
                          ShellCommand("site", {"-o", "DIR", options.paths.front()}));
}

// Says which projects after the first one a command left alone, and how to have them.
void NoteOtherProjects(const Options& options, const std::string& command, const std::string& leftAlone,
                       std::ostream& err)
{
    if (options.paths.size() < 2)
        return;
    const auto shown = [](const std::string& path) { return path == StandardInput ? StandardInputName : path; };
    std::string others;
    for (auto path = std::next(options.paths.begin()); path != options.paths.end(); ++path)
        others += (others.empty() ? "" : ", ") + shown(*path);
    std::string note = leftAlone + ": " + others + " (" + command + " works on the first project, " +
                       shown(options.paths.front()) + "; run one " + command + " for each project";
    const bool siteReadsThem =
        std::find(options.paths.begin(), options.paths.end(), StandardInput) == options.paths.end();
    if (command == "convert" && siteReadsThem) {
        std::vector<std::string> arguments{"-o", "DIR"};
        arguments.insert(arguments.end(), options.paths.begin(), options.paths.end());
        note += ", or convert them all with " + ShellCommand("site", arguments);
    }
    WriteMessage(err, note + ")");
}

// The project's name as the window lists it: its file's or folder's name.
std::string ProjectName(VBProject& project)
{
    const std::string path = project.FileName();
    const std::string name = BareFileName(path);
    return name.empty() ? path : name;
}

// Runs a command's steps; a failure, placed where the steps had got to, is the command's last
// word.
int Run(std::ostream& err, const std::function<void(ErrorPlace&)>& steps)
{
    ErrorPlace place;
    try {
        steps(place);
        return kDone;
    } catch (...) {
        RuntimeError failure = CurrentError();
        failure.Locate(place);
        return ReportFailure(err, failure);
    }
}

// The text of every module for a diff.
int SourceOfAll(const Options& options, std::ostream& out, std::ostream& err)
{
    return Run(err, [&](ErrorPlace& place) {
        std::shared_ptr<MemoryEditor> editor;
        try {
            editor = OpenEditor({options.paths.front()}, {}, options.encoding);
        } catch (const RuntimeError& e) {
            if (!IsNoVbaProject(e))
                throw;
            return; // nothing to compare, and no reason to stop git diff
        }
        const std::shared_ptr<VBProject> project = editor->ActiveVBProject();
        place.path = project->FileName();
        if (project->Protection() != 0) {
            WriteMessage(err,
                         project->FileName() + ": the VBA project is locked for viewing; none of its code is shown");
            return;
        }
        WriteProjectText(*project, out, place);
        NoteOtherProjects(options, "source", "not printed", err);
    });
}

} // namespace

int ReportFailure(std::ostream& err, const RuntimeError& failure)
{
    WriteMessage(err, failure.Message());
    return failure.GetKind() == RuntimeError::Kind::BadUsage ? kUsage : kFailed;
}

int Convert(const Options& options, std::ostream& out, std::ostream& err)
{
    return Run(err, [&](ErrorPlace& place) {
        const Project opened = OpenActiveProject(options, place);
        const Module module = OpenModule(opened, place);
        const Entry entry = Entry::Parse(FindEntryOf(options, module));
        const LineRange range = EntryLines(entry, module.index, module.lineCount);
        std::optional<ModuleText> storage;
        const ModuleView view{module.name, LinesOf(*module.code, storage), module.index, module.lineCount};
        const auto keywords = MakeKeywordTable();
        const std::string title =
            options.title.empty() ? module.name + " — " + ProjectName(*opened.project) : options.title;
        out << FormatOf(options)->write({view, keywords.get(), entry, range, options, title});
        if (options.module.empty())
            NoteOtherModules(options, opened, module, err);
        NoteOtherProjects(options, "convert", "not converted", err);
    });
}

int ConvertToFile(const Options& options, std::ostream& err)
{
    std::optional<FileOutput> file;
    const int opened = Run(err, [&](ErrorPlace&) {
        const InputFiles inputs(options.paths, false);
        if (const std::string* input = inputs.Find(options.output))
            throw RuntimeError(err::InvalidCall, {},
                               "-o " + options.output + ": it is one of the inputs (" + *input + ")",
                               RuntimeError::Kind::BadUsage);
        file.emplace(options.output);
    });
    if (opened != kDone)
        return opened;
    std::ostream out(&*file);
    const int status = Convert(options, out, err);
    if (status != kDone)
        return status; // the file stays as it was
    return Run(err, [&](ErrorPlace&) { file->Commit(); });
}

int Source(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.all)
        return SourceOfAll(options, out, err);
    return Run(err, [&](ErrorPlace& place) {
        const Project opened = OpenActiveProject(options, place);
        const Module module = OpenModule(opened, place);
        const LineRange range = EntryLines(Entry::Parse(FindEntryOf(options, module)), module.index, module.lineCount);
        out << SourceLines(*module.code, range.FirstLine, range.LastLine);
        NoteOtherProjects(options, "source", "not printed", err);
    });
}

int List(const Options& options, std::ostream& out, std::ostream& err)
{
    return Run(err, [&](ErrorPlace& place) {
        const Project opened = OpenActiveProject(options, place);
        if (options.module.empty()) {
            const KeyedCollection<std::string> captions = ModuleCaptions(*opened.project);
            if (captions.Count() == 0)
                throw RuntimeError(err::SubscriptOutOfRange, {}, "the project has no modules");
            for (const auto& caption : captions)
                WriteTerminalLine(out, caption.item);
            NoteOtherProjects(options, "list", "not listed", err);
            return;
        }
        const Module module = OpenModule(opened, place);
        for (const Entry& fixed : {Entry{Entry::Kind::WholeModule, {}}, Entry{Entry::Kind::Declarations, {}}}) {
            const LineRange r = EntryLines(fixed, module.index, module.lineCount);
            out << fixed.Text() << '\t' << r.FirstLine << '\t' << r.LastLine << '\n';
        }
        for (std::int32_t i = 0; i < module.procCount && i < static_cast<std::int32_t>(module.index.size()); ++i) {
            const ProcRecord& record = module.index[static_cast<std::size_t>(i)];
            WriteTerminalLine(out, record.ProcName + '\t' + std::to_string(record.FirstLine) + '\t' +
                                       std::to_string(record.LastLine));
        }
        NoteOtherProjects(options, "list", "not listed", err);
    });
}

} // namespace quillmark::cli
