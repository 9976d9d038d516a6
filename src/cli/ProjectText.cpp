#include "cli/ProjectText.h"

#include "codemodel/ProjectLists.h"
#include "codemodel/TextBackedModule.h"

#include <optional>

namespace quillmark::cli {

namespace {

// The tag of a component's type in the module list ("MOD"), without the space after it there.
std::string TypeLabel(std::int32_t type)
{
    const std::string prefix = TypePrefix(type);
    return prefix.substr(0, prefix.find(' '));
}

} // namespace

void WriteProjectText(VBProject& project, std::ostream& out, ErrorPlace& place)
{
    const std::shared_ptr<VBComponents> components = project.VBComponents();
    for (std::int32_t i = 1; i <= Obj(components).Count(); ++i) {
        const std::shared_ptr<VBComponent> component = components->Item(i);
        place.module = Obj(component).Name();
        out << "' ==== " << place.module << " (" << TypeLabel(component->Type()) << ") ====\n";
        std::optional<ModuleText> storage;
        const ModuleText& text = LinesOf(Obj(component->CodeModule()), storage);
        for (std::int32_t line = 1; line <= text.Count(); ++line)
            out << text.Line(line) << '\n';
    }
}

} // namespace quillmark::cli
