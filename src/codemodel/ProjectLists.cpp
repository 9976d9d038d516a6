#include "codemodel/ProjectLists.h"

#include "base/PathText.h"

#include <filesystem>
#include <system_error>

namespace quillmark {

KeyedCollection<std::shared_ptr<VBProject>> ReadableProjects(VBE& editor)
{
    KeyedCollection<std::shared_ptr<VBProject>> readable;
    auto projects = editor.VBProjects();
    const std::int32_t count = Obj(projects).Count();
    for (std::int32_t i = 1; i <= count; ++i) {
        auto project = projects->Item(i);
        if (Obj(project).Protection() != 0)
            continue;
        readable.Add(project, BareFileName(project->FileName()));
    }
    return readable;
}

KeyedCollection<std::string> ModuleCaptions(VBProject& project)
{
    KeyedCollection<std::string> captions;
    auto components = project.VBComponents();
    const std::int32_t count = Obj(components).Count();
    for (std::int32_t i = 1; i <= count; ++i) {
        auto component = components->Item(i);
        const std::string name = Obj(component).Name();
        if (captions.Contains(name))
            throw RuntimeError(err::DuplicateKey, {}, "two modules are named \"" + name + "\"");
        captions.Add(TypePrefix(component->Type()) + name, name);
    }
    return captions;
}

std::string ActiveModuleName(VBE& editor)
{
    // The editor hands out a new reference each time: hold it while it is used.
    const std::shared_ptr<CodePane> pane = editor.ActiveCodePane();
    return Obj(Obj(pane).CodeModule()).Name();
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

} // namespace quillmark
