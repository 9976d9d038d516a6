#include "codemodel/TextBackedModule.h"

namespace quillmark {

const ModuleText& LinesOf(CodeModule& module, std::optional<ModuleText>& storage)
{
    if (const auto* backed = dynamic_cast<const TextBackedModule*>(&module))
        return backed->Text();
    const std::int32_t count = module.CountOfLines();
    if (count <= 0)
        return storage.emplace();
    // The break after the last line keeps an empty last line a line of its own.
    return storage.emplace(module.Lines(1, count) + "\r\n");
}

} // namespace quillmark
