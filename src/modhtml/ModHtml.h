#pragma once

// The add-in's shared picture of the host's code: the selected project and module, the
// procedure index of that module, the project and module collections, and the keyword table.
// One set for the whole program, filled by the window and read by the procedures of
// SharedSetProcedures.h; nothing below the window and the add-in reads it.

#include "codemodel/HostObjectModel.h"
#include "codemodel/KeyedCollection.h"
#include "codemodel/KeywordTable.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillmark {

struct ModHtmlState {
    std::shared_ptr<VBE> HostEditor;
    std::shared_ptr<VBProject> CurrentProject;
    std::string CurrentModuleName;
    std::int32_t ProcCount = 0;
    std::int32_t ModuleLineCount = 0;
    ProcedureIndex ProcIndex;
    std::optional<KeyedCollection<std::shared_ptr<VBProject>>> ProjectCollection;
    std::optional<KeyedCollection<std::string>> ModuleCollection;
    std::unique_ptr<KeywordTable> Keywords;
};

// The one shared set.
ModHtmlState& ModHtml();

} // namespace quillmark
