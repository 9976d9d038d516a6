#pragma once

#include "codemodel/Entry.h"
#include "codemodel/ProcedureIndex.h"
#include "conversion/TokenSink.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// Where the jump links in front of an entry's code go: for the whole module its declarations
// and every procedure of the index, for the declarations or one procedure that one block.
// Error 9 for the whole module when the index was never built.
LinkTargets LinkTargetsOf(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry);

// One link of the list, its item left open: <li><a href="#id">GoTo id</a>; with style, the link
// carries it as its style attribute.
std::string LinkElement(std::string_view id, std::string_view style = {});

// The list as the fragment has it: one element a line; the last ends with a line break of its
// own.
std::vector<std::string> LinkListElements(const LinkTargets& links, std::string_view linkStyle = {});

// The list's elements joined by CR LF, as they stand in front of the code.
std::string LinkListText(const LinkTargets& links, std::string_view linkStyle = {});

// The elements of an entry's list (LinkTargetsOf, then LinkListElements).
std::vector<std::string> LinkList(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry);

} // namespace quillmark
