#pragma once

#include "sources/MemorySource.h"
#include "sources/StoredProject.h"

#include <memory>
#include <string>

namespace quillmark {

// The VBA project of an Office document. A project locked for viewing comes back with
// Protection 1. Throws RuntimeError at the file for anything unreadable: no VBA project,
// encrypted package, damaged container or streams, a PROJECT stream that cannot tell whether
// the project is locked.
std::shared_ptr<MemoryProject> LoadDocumentProject(const std::string& path);

// The same project as it stores its modules, forms with their designer text; a project locked for
// viewing comes back locked and without modules.
StoredProject LoadStoredDocument(const std::string& path);

} // namespace quillmark
