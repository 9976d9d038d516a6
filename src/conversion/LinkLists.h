#pragma once

#include "codemodel/Entry.h"
#include "codemodel/ProcedureIndex.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// The jump links put in front of an entry's code: for the whole module its declarations and
// every procedure of the index, for the declarations or one procedure that one link. One
// element a line; the last ends with a line break of its own. Error 9 for the whole module
// when the index was never built.
std::vector<std::string> LinkList(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry);

} // namespace quillmark
