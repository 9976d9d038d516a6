#pragma once

#include "codemodel/Entry.h"
#include "codemodel/HostObjectModel.h"
#include "codemodel/KeywordTable.h"
#include "codemodel/RuntimeError.h"
#include "conversion/ModuleView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// Makes the link list put in front of the code: one element a line, as LinkList gives it.
using LinkListMaker = std::function<std::vector<std::string>()>;

// The HTML fragment of lines firstLine..lastLine of the module for the entry; with a link-list
// maker, its list in front (made only when the conversion is going to succeed). keywords may be
// null: the first keyword lookup then fails with error 91. Fails with a RuntimeError at the
// module, and at the line when one fails; it reads no shared state and shows nothing.
std::string ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                         std::int32_t firstLine, std::int32_t lastLine, const LinkListMaker& linkList = {});

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError (at the line, when one failed); it
// reports nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

} // namespace quillmark
