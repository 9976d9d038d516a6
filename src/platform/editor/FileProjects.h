#pragma once

#include "platform/editor/MemorySource.h"

#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// A project from a path: an Office document, a folder of .bas/.cls/.frm files (name order) or
// a single module file. FileName is the path made absolute. Throws SourceError.
std::shared_ptr<MemoryProject> OpenProject(const std::string& path, const std::string& encoding = {});

// An editor over the projects of paths: the first is active; the active code pane shows
// moduleName (error when the active project lacks it) or, when empty, its first module.
std::shared_ptr<MemoryEditor> OpenEditor(const std::vector<std::string>& paths, const std::string& moduleName = {},
                                         const std::string& encoding = {});

// "PATH: ..." for each project of editor that is locked for viewing, which the window leaves
// out of its project list, so that the command can say why.
std::vector<std::string> LockedProjectNotes(VBE& editor);

} // namespace quillmark
