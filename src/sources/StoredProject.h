#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark {

// A module as its project keeps it, hidden lines included, for writing it out as the editor's
// Export File does.
struct StoredModule {
    std::string name;
    std::int32_t type = 1; // component type code
    // The module's text with its Attribute lines, without an export header; UTF-8.
    std::string text;
    // A form's designer text as the project holds it (the VERSION line and the Begin ... End
    // block); empty when it holds none. UTF-8.
    std::string designer;
    // The form's binary part (the controls, a .frx) beside its module file; empty when there is none.
    std::string binaryPart;
};

struct StoredProject {
    std::string fileName; // made absolute
    // The encoding of the project's code page ("CP932"); empty for module files, which have none.
    std::string encoding;
    bool locked = false; // locked for viewing: no module is read
    std::vector<StoredModule> modules;
};

// The project at path (a document, a folder of module files or one module file) as OpenProject
// opens it, its modules in the project's order (a folder's in name order); encoding is that of
// module files, empty to guess it per file. Throws RuntimeError at the path or file.
StoredProject ReadStoredProject(const std::string& path, const std::string& encoding = {});

} // namespace quillmark
