#pragma once

// The procedures of the window and the add-in that work on the shared set (ModHtml): each takes
// what it needs from the set, asks the engine, which knows nothing of the set, and puts the
// product back; a failure becomes the message box that the window shows for that procedure,
// under its title. The commands ask the engine directly.

#include "codemodel/EntryRange.h"
#include "codemodel/HostObjectModel.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// Readable projects of HostEditor into ProjectCollection, keyed by bare file name. Shows nothing.
bool GetProjects();
// Captions ("MOD Module1") of the project's components into ModuleCollection. Shows nothing.
bool GetModuleList(const std::shared_ptr<VBProject>& project);
// The procedure index of the named module into ProcIndex; reports its own failures.
void GetModData(const std::shared_ptr<VBProject>& project, const std::string& moduleName, std::int32_t& procCount,
                std::int32_t& lineCount);
// Drops the collections, the current project, the keyword table and the index.
void ReleaseProjects();

// Builds the keyword table and sets CurrentModuleName from the active code pane. False after
// any failure: the table is dropped and CurrentModuleName keeps its value. Shows nothing.
bool InitKeywords();

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError (at the line, when one failed); it reports
// nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);
// The same code styled inline as the editor's code window shows it, for the clipboard's HTML
// flavour; the link list's failure fails it too.
std::string ConvertToInlineHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                                std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

// The link lists of the current module. Each reports its own failure and then returns an empty
// array.
std::vector<std::string> CreateLinkList(const ProcedureIndex& index);
std::vector<std::string> CreateLink(const std::string& procName);
std::vector<std::string> CreateLinkDec();

// The lines of a procedure-list entry ("*", "_Declarations_" or an index name) in the current
// module; error 9 for a name that the procedure index lacks.
LineRange GetEntryRange(const std::string& entry);

// Plain source text of lines firstLine..lastLine of the current module; reports a failure
// itself and then returns empty text.
std::string ReadVbaWindow(const std::shared_ptr<VBProject>& project, std::int32_t firstLine, std::int32_t lastLine);

} // namespace quillmark
