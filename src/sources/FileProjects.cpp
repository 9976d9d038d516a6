#include "sources/FileProjects.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "platform/files/FileReading.h"
#include "sources/DocumentPath.h"
#include "sources/ModuleFile.h"
#include "sources/ModuleFiles.h"
#include "sources/ModuleFolder.h"
#include "sources/ModuleSize.h"
#include "sources/TextDecoding.h"
#include "sources/documents/DocumentProject.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace quillmark {

namespace fs = std::filesystem;

namespace {

std::string ReadModuleFile(const fs::path& path)
{
    FileText file = ReadWholeFile(path);
    if (!file.exists)
        throw RuntimeError(err::FileNotFound, {Utf8FromPath(path)},
                           std::string("cannot open the file: ") + std::strerror(ENOENT));
    return std::move(file.text);
}

// The text of a module's exported bytes; where names their origin in errors.
std::string DecodedModuleText(std::string bytes, const std::string& where, const std::string& encoding)
{
    try {
        return DecodeModuleBytes(std::move(bytes), encoding);
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.Number(), {where}, "cannot decode the text: " + e.Problem(), e.GetKind());
    }
}

// A module from its exported text, named name when one is given.
std::shared_ptr<MemoryComponent> ModuleFromText(std::string text, const std::string& fallbackName,
                                                const std::string& extension, const std::string& name = {})
{
    ExportedModule parsed = ParseModuleFile(std::move(text), fallbackName, extension);
    if (!name.empty())
        parsed.name = name;
    auto module = std::make_shared<MemoryCodeModule>(std::move(parsed.name), parsed.TakeText());
    return std::make_shared<MemoryComponent>(parsed.type, std::move(module));
}

// The one module that standard input holds, named name when one is given.
std::shared_ptr<MemoryProject> StandardInputProject(const std::string& encoding, const std::string& name)
{
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeStream(std::cin, MaxInputModuleSize);
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.Number(), {StandardInputName}, "cannot read standard input");
    }
    if (!bytes)
        throw RuntimeError(err::OutOfMemory, {StandardInputName},
                           "more than " + std::to_string(MaxInputModuleSize >> 20) +
                               " MiB, more than a module holds; give the module as a file");
    return std::make_shared<MemoryProject>(
        StandardInputName, std::vector{ModuleFromText(DecodedModuleText(std::move(*bytes), StandardInputName, encoding),
                                                      "Module1", ".bas", name)});
}

std::shared_ptr<MemoryProject> OpenFolder(const std::string& fileName, const std::string& encoding)
{
    ModuleFolder folder(fileName);
    std::vector<std::shared_ptr<MemoryComponent>> components;
    components.reserve(folder.Files().size());
    for (std::size_t i = 0; i < folder.Files().size(); ++i) {
        auto component = folder.Read(i, encoding);
        if (auto duplicate = folder.Claim(i, component->Name()))
            throw *duplicate;
        components.push_back(std::move(component));
    }
    return std::make_shared<MemoryProject>(fileName, std::move(components));
}

} // namespace

std::string AbsoluteProjectPath(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(PathFromUtf8(path), ec);
    if (ec)
        absolute = PathFromUtf8(path);
    absolute = absolute.lexically_normal();
    if (absolute.filename().empty() && absolute.has_parent_path() && absolute != absolute.root_path())
        absolute = absolute.parent_path();
    return Utf8FromPath(absolute);
}

std::string ModuleFileText(const fs::path& path, const std::string& encoding)
{
    return DecodedModuleText(ReadModuleFile(path), Utf8FromPath(path), encoding);
}

std::shared_ptr<MemoryComponent> OpenModuleFile(const fs::path& path, const std::string& encoding)
{
    // A file name may hold any bytes; as a module name it must be text.
    return ModuleFromText(ModuleFileText(path, encoding), DecodeName(Utf8FromPath(path.stem())),
                          Utf8FromPath(path.extension()));
}

std::shared_ptr<MemoryProject> OpenProject(const std::string& path, const std::string& encoding)
{
    if (path.empty())
        throw RuntimeError(err::InvalidCall, {path}, "no path was given for the project");
    // Examined as given: the path may ask for a folder ("ok.bas/", "ok.bas/."), which a file is
    // not, and which its absolute form would no longer say.
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(path), ec);
    if (ec == std::errc::not_a_directory)
        throw RuntimeError(SystemErrorNumber(ec.value()), {path}, ec.message());
    const std::string fileName = AbsoluteProjectPath(path);
    if (ec && status.type() != fs::file_type::not_found)
        throw RuntimeError(SystemErrorNumber(ec.value()), {fileName}, "cannot examine the path: " + ec.message());
    if (!fs::exists(status))
        throw RuntimeError(err::FileNotFound, {fileName}, "no such file or folder");
    if (fs::is_directory(status))
        return OpenFolder(fileName, encoding);
    if (!fs::is_regular_file(status))
        throw RuntimeError(err::PathFileAccess, {fileName}, "not a regular file or a folder");
    if (IsDocumentPath(fileName))
        return LoadDocumentProject(fileName);
    if (!IsModuleFile(PathFromUtf8(fileName)))
        throw RuntimeError(err::BadFileFormat, {fileName},
                           "not a module file (.bas, .cls, .frm), a folder of them or an Office document");
    std::vector<std::shared_ptr<MemoryComponent>> components{OpenModuleFile(PathFromUtf8(fileName), encoding)};
    return std::make_shared<MemoryProject>(fileName, std::move(components));
}

std::shared_ptr<MemoryEditor> OpenEditor(const std::vector<std::string>& paths, const std::string& moduleName,
                                         const std::string& encoding)
{
    if (paths.empty())
        throw RuntimeError(err::InvalidCall, {}, "no project path was given");
    if (std::count(paths.begin(), paths.end(), StandardInput) > 1)
        throw RuntimeError(err::InvalidCall, {StandardInputName}, "standard input can be given once only");
    std::vector<std::shared_ptr<VBProject>> projects;
    std::shared_ptr<MemoryProject> active;
    for (const std::string& path : paths) {
        auto project = path == StandardInput ? StandardInputProject(encoding, moduleName) : OpenProject(path, encoding);
        if (!active)
            active = project;
        projects.push_back(std::move(project));
    }

    std::shared_ptr<CodePane> pane;
    const auto& components = active->Components()->All();
    if (!moduleName.empty()) {
        auto it = std::find_if(components.begin(), components.end(),
                               [&](const auto& c) { return SameName(c->Name(), moduleName); });
        if (it == components.end()) {
            std::string names;
            for (const auto& component : components)
                names += (names.empty() ? "" : ", ") + component->Name();
            throw RuntimeError(err::SubscriptOutOfRange, {active->FileName()},
                               "the project has no module named \"" + moduleName + "\"; its modules are " + names);
        }
        if (active->Protection() != 0)
            throw RuntimeError(err::ProjectProtected, {active->FileName()}, "the project is locked for viewing");
        pane = std::make_shared<MemoryCodePane>((*it)->Module());
    } else if (!components.empty() && active->Protection() == 0) {
        pane = std::make_shared<MemoryCodePane>(components.front()->Module());
    }
    return std::make_shared<MemoryEditor>(std::move(projects), std::move(active), std::move(pane));
}

std::vector<std::string> LockedProjectNotes(VBE& editor)
{
    std::vector<std::string> notes;
    const auto projects = editor.VBProjects();
    for (std::int32_t i = 1; i <= projects->Count(); ++i) {
        const auto project = projects->Item(i);
        if (project->Protection() != 0)
            notes.push_back(project->FileName() + ": the VBA project is locked for viewing; the window leaves it out");
    }
    return notes;
}

} // namespace quillmark
