#include "cli/Commands.h"

#include "cli/EntryLookup.h"
#include "cli/FileOutput.h"
#include "cli/HtmlPage.h"
#include "cli/InputFiles.h"
#include "cli/Message.h"
#include "codemodel/EntryRange.h"
#include "codemodel/ModHtml.h"
#include "codemodel/SourceReader.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "platform/editor/FileProjects.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TerminalText.h"

#include <optional>

namespace quillmark::cli {
namespace {

// Message boxes of a command go to its error stream as "TITLE: TEXT"; any of them means the
// command did not fully succeed.
class CommandMessages final : public MessageBox {
public:
    explicit CommandMessages(std::ostream& err) : err_(err), previous_(SetMessageBox(this)) {}
    ~CommandMessages() override { SetMessageBox(previous_); }
    CommandMessages(const CommandMessages&) = delete;
    CommandMessages& operator=(const CommandMessages&) = delete;

    void Show(const std::string& text, const std::string& title) override
    {
        err_ << TerminalText(title) << ": " << TerminalText(text, LineBreaks::Kept) << '\n';
        ++count_;
    }
    bool Any() const { return count_ > 0; }

private:
    std::ostream& err_;
    MessageBox* previous_;
    int count_ = 0;
};

// The shared state set up as the window's start-up sets it, over the projects of the paths.
class CommandRun {
public:
    CommandRun(const Options& options, std::ostream& err) : options_(options), err_(err), messages_(err) {}
    ~CommandRun() { ModHtml() = ModHtmlState{}; }
    CommandRun(const CommandRun&) = delete;
    CommandRun& operator=(const CommandRun&) = delete;

    // Opens the projects and selects the active one; false after reporting why not.
    bool OpenProject()
    {
        ModHtml() = ModHtmlState{};
        std::shared_ptr<MemoryEditor> editor;
        try {
            editor = OpenEditor(options_.paths, options_.module, options_.encoding);
        } catch (const RuntimeError& e) {
            WriteMessage(err_, e.Message());
            return false;
        }
        auto& state = ModHtml();
        state.HostEditor = editor;
        state.CurrentProject = editor->ActiveVBProject();
        if (state.CurrentProject->Protection() != 0)
            return Fail(state.CurrentProject->FileName(),
                        "the VBA project is locked for viewing; Quillmark shows none of its code");
        return true;
    }

    // Selects the module and builds its procedure index; false after reporting why not.
    bool OpenModule()
    {
        auto& state = ModHtml();
        if (!InitKeywords())
            return Fail(state.CurrentProject->FileName(), "the project has no module to show");
        GetModData(state.CurrentProject, state.CurrentModuleName, state.ProcCount, state.ModuleLineCount);
        return !messages_.Any();
    }

    // Project, module and the entry's lines, as "変換" and "ｿｰｽｺｰﾄﾞ" need them.
    std::optional<LineRange> OpenEntry()
    {
        if (!OpenProject() || !OpenModule())
            return std::nullopt;
        const auto& state = ModHtml();
        std::string problem;
        const auto entry = FindEntry(options_.entry, state.ProcIndex, problem);
        if (!entry) {
            std::vector<std::string> arguments{"--module", state.CurrentModuleName};
            if (!options_.encoding.empty())
                arguments.insert(arguments.end(), {"--encoding", options_.encoding});
            arguments.insert(arguments.end(), options_.paths.begin(), options_.paths.end());
            Fail(ProjectPath(), "module " + state.CurrentModuleName + ": " + problem + " (" +
                                    ShellCommand("list", arguments) + " lists them with their lines)");
            return std::nullopt;
        }
        entry_ = *entry;
        return GetEntryRange(entry_);
    }

    // Says which module a project of several gave, and how to have the others.
    void NoteOtherModules()
    {
        const std::int32_t count = Obj(Obj(ModHtml().CurrentProject).VBComponents()).Count();
        if (count < 2)
            return;
        WriteMessage(err_, "converted module " + ModHtml().CurrentModuleName + ", the first of " +
                               std::to_string(count) + " modules; choose another with --module NAME (" +
                               ShellCommand("list", {options_.paths.front()}) +
                               " lists them) or convert them all with " +
                               ShellCommand("site", {"-o", "DIR", options_.paths.front()}));
    }

    // The entry as the procedure list holds it.
    const std::string& Entry() const { return entry_; }

    bool Fail(const std::string& path, const std::string& problem)
    {
        WriteMessage(err_, path + ": " + problem);
        return false;
    }

    std::string ProjectPath() const { return ModHtml().CurrentProject->FileName(); }
    bool MessagesShown() const { return messages_.Any(); }

private:
    const Options& options_;
    std::ostream& err_;
    CommandMessages messages_;
    std::string entry_;
};

int Status(const CommandRun& run)
{
    return run.MessagesShown() ? kFailed : kDone;
}

} // namespace

int ReportFailure(std::ostream& err, const RuntimeError& failure)
{
    WriteMessage(err, failure.Message());
    return failure.GetKind() == RuntimeError::Kind::BadUsage ? kUsage : kFailed;
}

int Convert(const Options& options, std::ostream& out, std::ostream& err)
{
    CommandRun run(options, err);
    const auto range = run.OpenEntry();
    if (!range)
        return kFailed;
    auto& state = ModHtml();
    std::int32_t first = range->FirstLine;
    std::int32_t last = range->LastLine;
    std::string html;
    try {
        html = ConvertToHtml(state.CurrentProject, run.Entry(), first, last, options.links);
    } catch (RuntimeError& e) {
        e.Locate({run.ProjectPath()});
        return ReportFailure(err, e);
    }
    if (options.page)
        out << HtmlPage(state.CurrentModuleName + "." + run.Entry(), html);
    else
        out << html;
    if (options.module.empty())
        run.NoteOtherModules();
    return Status(run);
}

int ConvertToFile(const Options& options, std::ostream& err)
{
    const InputFiles inputs(options.paths, false);
    if (const std::string* input = inputs.Find(options.output)) {
        WriteMessage(err, "-o " + options.output + ": it is one of the inputs (" + *input + ")");
        return kUsage;
    }
    try {
        FileOutput file(options.output);
        std::ostream out(&file);
        const int status = Convert(options, out, err);
        if (status != kDone)
            return status; // the file stays as it was
        file.Commit();
        return kDone;
    } catch (const RuntimeError& e) {
        return ReportFailure(err, e);
    }
}

int Source(const Options& options, std::ostream& out, std::ostream& err)
{
    CommandRun run(options, err);
    const auto range = run.OpenEntry();
    if (!range)
        return kFailed;
    out << ReadVbaWindow(ModHtml().CurrentProject, range->FirstLine, range->LastLine);
    return Status(run);
}

int List(const Options& options, std::ostream& out, std::ostream& err)
{
    CommandRun run(options, err);
    if (!run.OpenProject())
        return kFailed;
    auto& state = ModHtml();
    if (options.module.empty()) {
        if (!GetModuleList(state.CurrentProject)) {
            run.Fail(run.ProjectPath(), "the project has no modules");
            return kFailed;
        }
        for (const auto& entry : *state.ModuleCollection)
            out << entry.item << '\n';
        return Status(run);
    }
    if (!run.OpenModule())
        return kFailed;
    for (const char* fixed : {"*", "_Declarations_"}) {
        const LineRange r = GetEntryRange(fixed);
        out << fixed << '\t' << r.FirstLine << '\t' << r.LastLine << '\n';
    }
    for (std::int32_t i = 0; i < state.ProcCount && i < static_cast<std::int32_t>(state.ProcIndex.size()); ++i) {
        const ProcRecord& record = state.ProcIndex[static_cast<std::size_t>(i)];
        out << record.ProcName << '\t' << record.FirstLine << '\t' << record.LastLine << '\n';
    }
    return Status(run);
}

} // namespace quillmark::cli
