#pragma once

// Small in-memory projects for the code model's tests.

#include "modhtml/ModHtml.h"
#include "sources/MemorySource.h"

#include <memory>
#include <string>
#include <vector>

namespace quillmark::testing {

inline std::shared_ptr<MemoryComponent> Module(const std::string& name, const std::vector<std::string>& lines,
                                               std::int32_t type = vbext_ct::StdModule)
{
    return std::make_shared<MemoryComponent>(type,
                                             std::make_shared<MemoryCodeModule>(name, ModuleText::FromLines(lines)));
}

inline std::shared_ptr<MemoryComponent> ModuleWithBlocks(const std::string& name, std::int32_t lineCount,
                                                         std::vector<ProcRecord> blocks)
{
    return std::make_shared<MemoryComponent>(
        vbext_ct::StdModule,
        std::make_shared<MemoryCodeModule>(name, ModuleText::FromLines(std::vector<std::string>(lineCount, "x")),
                                           std::move(blocks)));
}

inline std::shared_ptr<MemoryProject> Project(const std::string& fileName,
                                              std::vector<std::shared_ptr<MemoryComponent>> components,
                                              std::int32_t protection = 0)
{
    return std::make_shared<MemoryProject>(fileName, std::move(components), protection);
}

// Empties the shared state between tests.
inline void ResetModHtml()
{
    ModHtml() = ModHtmlState{};
}

} // namespace quillmark::testing
