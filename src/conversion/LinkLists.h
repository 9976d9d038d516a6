#pragma once

#include "codemodel/ModHtml.h"

#include <string>
#include <vector>

namespace quillmark {

// Jump-link lists put in front of converted code. Each reports its own failure and then
// returns an empty array.
std::vector<std::string> CreateLinkList(const std::vector<ProcRecord>& index);
std::vector<std::string> CreateLink(const std::string& procName);
std::vector<std::string> CreateLinkDec();

} // namespace quillmark
