#pragma once

#include "codemodel/ModuleText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// A module as the editor shows it, recovered from its exported text.
struct ExportedModule {
    std::string name;      // Attribute VB_Name, else the fallback name
    std::int32_t type = 1; // component type code
    std::string code;      // the text minus the export header and the Attribute lines
    LineStarts lines;      // where each line of code starts

    ModuleText TakeText() { return ModuleText(std::move(code), std::move(lines)); }
};

// Where the code starts after the export header (a leading VERSION line, its Object lines and
// Begin ... End blocks): a byte offset, 0 when the text has none.
std::size_t ExportHeaderEnd(std::string_view text);

// Removes what the editor hides: a leading VERSION line with its BEGIN ... END block(s), and
// every Attribute line. Line breaks of the kept lines are kept.
std::string VisibleCode(std::string text);
// The same, split into lines.
ModuleText VisibleLines(std::string text);

// Parses UTF-8 exported text; fallbackName names a module without VB_Name; the extension
// (".bas", ".cls", ".frm") gives the type, refined by the text (a document class is 100).
ExportedModule ParseModuleFile(std::string text, const std::string& fallbackName, const std::string& extension);

} // namespace quillmark
