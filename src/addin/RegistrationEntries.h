#pragma once

#include "platform/com/Registry.h"

#include <string>

namespace quillmark {

// What registration writes: both classes as in-process servers of the library at libraryPath
// (apartment-threaded, with their programmatic identifiers and interfaces), the type library,
// and the editor's add-in entry for Quillmark.Connect.
void WriteRegistration(com::Registry& registry, const std::string& libraryPath);

// Removes all of it; keys that are already gone are skipped.
void RemoveRegistration(com::Registry& registry);

// The add-in entry's key in the editor's add-in list.
std::string AddInKey();

} // namespace quillmark
