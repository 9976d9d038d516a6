#pragma once

// The add-in's shared picture of the host's code: the selected project and module, the
// procedure index of that module, the project and module collections, and the keyword table.
// One set for the whole program, filled by the window and read by the converter and readers.

#include "codemodel/HostObjectModel.h"
#include "codemodel/KeyedCollection.h"
#include "codemodel/KeywordTable.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// Readable projects of HostEditor into ProjectCollection, keyed by bare file name. Shows nothing.
bool GetProjects();
// Captions ("MOD Module1") of the project's components into ModuleCollection. Shows nothing.
bool GetModuleList(const std::shared_ptr<VBProject>& project);
// The procedure index of the named module into ProcIndex; reports its own failures.
void GetModData(const std::shared_ptr<VBProject>& project, const std::string& moduleName, std::int32_t& procCount,
                std::int32_t& lineCount);
// Drops the collections, the current project, the keyword table and the index.
void ReleaseProjects();

// The four-character caption prefix of a component type ("MOD ", "CLS ", ..., "??? ").
std::string TypePrefix(std::int32_t type);

// The last part of an existing path; empty text when nothing exists there.
std::string BareFileName(const std::string& path);

} // namespace quillmark
