#include "codemodel/ModHtml.h"

#include "platform/files/PathText.h"
#include "platform/ui/MessageBox.h"

#include <filesystem>
#include <system_error>

namespace quillmark {

ModHtmlState& ModHtml()
{
    static ModHtmlState state;
    return state;
}

std::string TypePrefix(std::int32_t type)
{
    switch (type) {
    case vbext_ct::StdModule: return "MOD ";
    case vbext_ct::ClassModule: return "CLS ";
    case vbext_ct::MSForm: return "FRM ";
    case vbext_ct::ActiveXDesigner: return "ACX ";
    case vbext_ct::Document: return "APP ";
    default: return "??? ";
    }
}

std::string BareFileName(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path p = PathFromUtf8(path);
    std::error_code ec;
    if (path.empty() || !fs::exists(p, ec))
        return {};
    if (!p.has_filename())
        p = p.parent_path(); // "dir/" names dir
    return Utf8FromPath(p.filename());
}

bool GetProjects()
{
    auto& state = ModHtml();
    state.ProjectCollection.emplace();
    try {
        auto projects = Obj(state.HostEditor).VBProjects();
        const std::int32_t count = Obj(projects).Count();
        for (std::int32_t i = 1; i <= count; ++i) {
            auto project = projects->Item(i);
            if (Obj(project).Protection() != 0)
                continue;
            state.ProjectCollection->Add(project, BareFileName(project->FileName()));
        }
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
    state.ModuleCollection.emplace();
    try {
        auto components = Obj(project).VBComponents();
        const std::int32_t count = Obj(components).Count();
        if (count - 1 >= 0) {
            for (std::int32_t i = 1; i <= count; ++i) {
                auto component = components->Item(i);
                const std::string name = Obj(component).Name();
                state.ModuleCollection->Add(TypePrefix(component->Type()) + name, name);
            }
            return true;
        }
    } catch (...) {
    }
    state.ModuleCollection.reset();
    return false;
}

namespace {

// Error 35 with kind already at Get: the procedure was not found under any kind.
struct NotFoundUnderAnyKind : RuntimeError {
    using RuntimeError::RuntimeError;
};

struct Procedure {
    std::string name;
    std::int32_t kind = 0;
    std::int32_t lineCount = 0;
};

// The procedure owning line and its line count. A host that leaves kind as passed in makes
// ProcCountLines fail with 35 for a property; the kind is then raised and the line asked again.
Procedure ProcedureAt(CodeModule& module, std::int32_t line)
{
    Procedure p;
    for (;;) {
        p.name = module.ProcOfLine(line, p.kind);
        try {
            p.lineCount = module.ProcCountLines(p.name, p.kind);
        } catch (const RuntimeError& e) {
            if (e.Number() != err::ProcedureNotDefined)
                throw;
            if (p.kind >= vbext_pk::Get)
                throw NotFoundUnderAnyKind(e.Number(), e.Description());
            ++p.kind;
            continue;
        }
        // A block of no lines would never let the walk move on.
        if (p.lineCount < 1)
            throw RuntimeError(err::InvalidCall);
        return p;
    }
}

} // namespace

void GetModData(const std::shared_ptr<VBProject>& project, const std::string& moduleName, std::int32_t& procCount,
                std::int32_t& lineCount)
{
    std::int32_t counter = 0;
    std::int32_t total = 0;
    try {
        std::vector<ProcRecord> index(1);
        auto module = Obj(Obj(Obj(project).VBComponents()).Item(moduleName)).CodeModule();
        CodeModule& code = Obj(module);
        total = code.CountOfLines();
        if (total == 0)
            total = 1;

        // The first procedure line; the module's last line is examined too.
        std::int32_t first = 0;
        for (std::int32_t line = 1; line <= total; ++line) {
            std::int32_t kind = 0;
            if (!code.ProcOfLine(line, kind).empty()) {
                first = line;
                break;
            }
        }
        if (first > 0) {
            for (std::int32_t line = first; line <= total;) {
                line = CheckedAdd(line, ProcedureAt(code, line).lineCount);
                counter = CheckedAdd(counter, 1);
            }
            index.assign(static_cast<std::size_t>(counter), {});
            std::size_t position = 0;
            for (std::int32_t line = first; line <= total; ++position) {
                const Procedure p = ProcedureAt(code, line);
                ProcRecord& record = index.at(position); // a host that changed under us fails here
                record.ProcName = IndexName(p.name, p.kind);
                record.Kind = p.kind;
                record.FirstLine = line;
                record.LastLine = CheckedAdd(line, p.lineCount - 1);
                line = CheckedAdd(line, p.lineCount);
            }
        }
        ModHtml().ProcIndex = std::move(index);
    } catch (const NotFoundUnderAnyKind& e) {
        MsgBox("Error: " + std::to_string(e.Number()) + ". " + e.Description(), "GetModData_!fromEN35");
    } catch (...) {
        const RuntimeError e = CurrentError();
        MsgBox("Error: " + std::to_string(e.Number()) + ". " + e.Description(), "GetModData");
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

} // namespace quillmark
