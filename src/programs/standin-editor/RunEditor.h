#pragma once

#include "sources/MemorySource.h"

#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// The projects of paths: each path is a project (a folder of module files, a module file or
// an Office document); a folder without module files of its own opens every project inside
// it. Throws RuntimeError.
std::vector<std::shared_ptr<MemoryProject>> OpenEditorProjects(const std::vector<std::string>& paths,
                                                               const std::string& encoding = {});

// `quillmark editor PATH...`: the stand-in editor over the projects of paths, with the
// add-ins marked for start-up connected. Returns the event loop's exit status. Throws
// RuntimeError when a project cannot be read.
int RunEditor(int& argc, char** argv, const std::vector<std::string>& paths, const std::string& encoding = {});

} // namespace quillmark
