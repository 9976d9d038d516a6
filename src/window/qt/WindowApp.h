#pragma once

#include "codemodel/HostObjectModel.h"

#include <memory>

namespace quillmark {

// Runs the converter window over editor until it is closed: creates the application, shows
// the window as the add-in's Show does and returns the event loop's exit code.
int RunWindow(int& argc, char** argv, std::shared_ptr<VBE> editor);

} // namespace quillmark
