#pragma once

#include "ModuleGenerator.h"

#include "modhtml/ModHtml.h"
#include "modhtml/SharedSetProcedures.h"
#include "sources/MemorySource.h"

#include <memory>

namespace quillmark::bench {

// A project of one generated module, selected as the window selects it: keyword table,
// current module and procedure index ready for a conversion.
struct ConversionSetup {
    std::shared_ptr<MemoryProject> project;
    std::size_t sourceBytes = 0;

    explicit ConversionSetup(std::int32_t lineCount)
    {
        std::string text = GenerateModule(lineCount);
        sourceBytes = text.size();
        auto module = std::make_shared<MemoryCodeModule>("Generated", ModuleText(std::move(text)));
        auto component = std::make_shared<MemoryComponent>(vbext_ct::StdModule, module);
        project = std::make_shared<MemoryProject>("Generated.bas", std::vector{component});
        auto& state = ModHtml();
        state.HostEditor = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project,
                                                          std::make_shared<MemoryCodePane>(module));
        state.CurrentProject = project;
        InitKeywords();
        GetModData(project, state.CurrentModuleName, state.ProcCount, state.ModuleLineCount);
    }
};

} // namespace quillmark::bench
