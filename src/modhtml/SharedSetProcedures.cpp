#include "modhtml/SharedSetProcedures.h"

#include "codemodel/ModuleProcedures.h"
#include "codemodel/ProjectLists.h"
#include "codemodel/SourceReader.h"
#include "codemodel/TextBackedModule.h"
#include "conversion/Converter.h"
#include "conversion/InlineStyleWriter.h"
#include "conversion/Keywords.h"
#include "conversion/LinkLists.h"
#include "modhtml/ModHtml.h"
#include "platform/ui/MessageBox.h"

#include <optional>

namespace quillmark {

namespace {

std::shared_ptr<CodeModule> CodeModuleOf(const std::shared_ptr<VBProject>& project, const std::string& moduleName)
{
    return Obj(Obj(Obj(project).VBComponents()).Item(moduleName)).CodeModule();
}

} // namespace

bool GetProjects()
{
    auto& state = ModHtml();
    try {
        state.ProjectCollection = ReadableProjects(Obj(state.HostEditor));
        if (state.ProjectCollection->Count() >= 1)
            return true;
    } catch (...) {
    }
    state.ProjectCollection.reset();
    return false;
}

bool GetModuleList(const std::shared_ptr<VBProject>& project)
{
    auto& state = ModHtml();
    try {
        state.ModuleCollection = ModuleCaptions(Obj(project));
        if (state.ModuleCollection->Count() >= 1)
            return true;
    } catch (...) {
    }
    state.ModuleCollection.reset();
    return false;
}

void GetModData(const std::shared_ptr<VBProject>& project, const std::string& moduleName, std::int32_t& procCount,
                std::int32_t& lineCount)
{
    std::int32_t counter = 0;
    std::int32_t total = 0;
    try {
        const std::shared_ptr<CodeModule> module = CodeModuleOf(project, moduleName);
        ModHtml().ProcIndex = ReadProcedureIndex(Obj(module), counter, total);
    } catch (...) {
        // Error 35 escapes the walk only when no procedure kind found the line's procedure.
        const RuntimeError e = CurrentError();
        MsgBox("Error: " + std::to_string(e.Number()) + ". " + e.Description(),
               e.Number() == err::ProcedureNotDefined ? "GetModData_!fromEN35" : "GetModData");
    }
    procCount = counter;
    lineCount = total;
}

void ReleaseProjects()
{
    auto& state = ModHtml();
    state.ProjectCollection.reset();
    state.ModuleCollection.reset();
    state.CurrentProject.reset();
    state.Keywords.reset();
    state.ProcIndex.clear();
}

bool InitKeywords()
{
    ModHtmlState& state = ModHtml();
    try {
        state.Keywords = MakeKeywordTable();
        // No code window open means no pane (error 91).
        state.CurrentModuleName = ActiveModuleName(Obj(state.HostEditor));
        return true;
    } catch (...) {
        state.Keywords.reset();
        return false;
    }
}

namespace {

// Converts lines of CurrentModuleName in project with convert(view, entry); an empty module
// counts as one empty line.
template <typename Conversion>
std::string ConvertCurrentModule(const std::shared_ptr<VBProject>& project, const std::string& procName,
                                 std::int32_t& firstLine, std::int32_t& lastLine, const Conversion& convert)
{
    try {
        const ModHtmlState& state = ModHtml();
        const std::shared_ptr<CodeModule> module = CodeModuleOf(project, state.CurrentModuleName);
        CodeModule& code = Obj(module);
        if (code.CountOfLines() == 0) {
            firstLine = 1;
            lastLine = 1;
        }
        std::optional<ModuleText> storage;
        const ModuleView view{state.CurrentModuleName, LinesOf(code, storage), state.ProcIndex, state.ModuleLineCount};
        return convert(view, Entry::Parse(procName));
    } catch (const RuntimeError&) {
        throw;
    } catch (...) {
        throw CurrentError(); // out of memory and the like, as the numbered error it stands for
    }
}

} // namespace

std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag)
{
    return ConvertCurrentModule(
        project, procName, firstLine, lastLine, [&](const ModuleView& view, const Entry& entry) {
            const ModHtmlState& state = ModHtml();
            LinkListMaker linkList;
            if (linkFlag) {
                linkList = [&] {
                    switch (entry.kind) {
                    case Entry::Kind::WholeModule: return CreateLinkList(state.ProcIndex);
                    case Entry::Kind::Declarations: return CreateLinkDec();
                    case Entry::Kind::Procedure: break;
                    }
                    return CreateLink(procName);
                };
            }
            return ConvertRange(view, state.Keywords.get(), entry, firstLine, lastLine, linkList);
        });
}

std::string ConvertToInlineHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                                std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag)
{
    return ConvertCurrentModule(
        project, procName, firstLine, lastLine, [&](const ModuleView& view, const Entry& entry) {
            return ConvertWithInlineStyles(view, ModHtml().Keywords.get(), entry, firstLine, lastLine,
                                           ThemeName::Editor, linkFlag ? Links::With : Links::Without);
        });
}

std::vector<std::string> CreateLinkList(const ProcedureIndex& index)
{
    try {
        return LinkList(ModHtml().CurrentModuleName, index, Entry{});
    } catch (...) {
        MsgBox(ShortErrorReport(CurrentError()), "Module1.CreateLinkList");
        return {};
    }
}

std::vector<std::string> CreateLink(const std::string& procName)
{
    try {
        return LinkList(ModHtml().CurrentModuleName, {}, Entry::Procedure(procName));
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), "ModHtml.CreateLink");
        return {};
    }
}

std::vector<std::string> CreateLinkDec()
{
    try {
        return LinkList(ModHtml().CurrentModuleName, {}, Entry{Entry::Kind::Declarations, {}});
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), "ModHtml.CreateLinkDec");
        return {};
    }
}

LineRange GetEntryRange(const std::string& entry)
{
    const auto& state = ModHtml();
    return EntryLines(Entry::Parse(entry), state.ProcIndex, state.ModuleLineCount);
}

std::string ReadVbaWindow(const std::shared_ptr<VBProject>& project, std::int32_t firstLine, std::int32_t lastLine)
{
    try {
        const std::shared_ptr<CodeModule> module = CodeModuleOf(project, ModHtml().CurrentModuleName);
        return SourceLines(Obj(module), firstLine, lastLine);
    } catch (...) {
        MsgBox(ShortErrorReport(CurrentError()), "ModConvHTML.ReadVbaWindow");
        return {};
    }
}

} // namespace quillmark
