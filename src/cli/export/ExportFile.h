#pragma once

#include "sources/StoredProject.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// ".bas", ".cls" (document modules too) or ".frm", as the editor names an exported module.
std::string_view ExportExtension(std::int32_t type);

// The module as the editor's Export File writes it, in UTF-8 with CR LF after every line: a
// class's VERSION 1.0 CLASS header, a form's designer text (naming its binary part only when
// that is written beside it), then the module's own Attribute lines (less those that tie it to
// its document: VB_Base, VB_TemplateDerived, VB_Customizable) and its code.
std::string ExportText(const StoredModule& module);

// The folders that the module's '@Folder("A.B") annotation names (A, B), as VBA tools lay out
// modules; none without one. Only the comments in front of the first procedure count.
std::vector<std::string> AnnotatedFolders(std::string_view text);

} // namespace quillmark::cli
