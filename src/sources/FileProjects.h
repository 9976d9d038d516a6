#pragma once

#include "sources/MemorySource.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// The path made absolute, without "." parts or a trailing separator, so that its last part is
// the project's bare file name.
std::string AbsoluteProjectPath(const std::string& path);

// The decoded text of an exported module file, its export header included. Throws RuntimeError
// at the file.
std::string ModuleFileText(const std::filesystem::path& path, const std::string& encoding);

// The module of an exported module file. Throws RuntimeError at the file.
std::shared_ptr<MemoryComponent> OpenModuleFile(const std::filesystem::path& path, const std::string& encoding);

// A project from a path: an Office document, a folder of .bas/.cls/.frm files (name order) or
// a single module file. FileName is the path made absolute. Throws RuntimeError at the path.
std::shared_ptr<MemoryProject> OpenProject(const std::string& path, const std::string& encoding = {});

// The path that stands for standard input, and the project's name then.
inline constexpr const char* StandardInput = "-";
inline constexpr const char* StandardInputName = "(standard input)";

// An editor over the projects of paths, where StandardInput is one module read from standard
// input (named moduleName, else by its VB_Name, else Module1). The first project is active; the active code pane shows
// moduleName (error when the active project lacks it) or, when empty, its first module.
std::shared_ptr<MemoryEditor> OpenEditor(const std::vector<std::string>& paths, const std::string& moduleName = {},
                                         const std::string& encoding = {});

// "PATH: ..." for each project of editor that is locked for viewing, which the window leaves
// out of its project list, so that the command can say why.
std::vector<std::string> LockedProjectNotes(VBE& editor);

} // namespace quillmark
