#pragma once

#include "codemodel/HostObjectModel.h"
#include "codemodel/KeyedCollection.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillmark {

// What the editor offers to be converted, as the window lists it.

// The readable projects (those not locked for viewing) in host order, each under its bare file
// name; error 457 for two of one name.
KeyedCollection<std::shared_ptr<VBProject>> ReadableProjects(VBE& editor);

// The captions of the project's components ("MOD Module1") in host order, each under its name;
// empty for a project without components, error 457 for two of one name.
KeyedCollection<std::string> ModuleCaptions(VBProject& project);

// The name of the module that the editor's active code window shows; error 91 without one.
std::string ActiveModuleName(VBE& editor);

// The four-character caption prefix of a component type ("MOD ", "CLS ", ..., "??? ").
std::string TypePrefix(std::int32_t type);

// The last part of an existing path; empty text when nothing exists there.
std::string BareFileName(const std::string& path);

} // namespace quillmark
