#include "sources/StoredProject.h"

#include "base/PathText.h"
#include "codemodel/HostObjectModel.h"
#include "sources/DocumentPath.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFile.h"
#include "sources/ModuleFolder.h"
#include "sources/TextDecoding.h"
#include "sources/documents/DocumentProject.h"

#include <filesystem>
#include <system_error>

namespace quillmark {

namespace fs = std::filesystem;

namespace {

// A module file as it is kept: its export header is a form's designer text, and the form's
// binary part lies beside it.
StoredModule StoredModuleFile(const fs::path& path, const std::string& encoding)
{
    const std::string text = ModuleFileText(path, encoding);
    const ExportedModule parsed =
        ParseModuleFile(text, DecodeName(Utf8FromPath(path.stem())), Utf8FromPath(path.extension()));
    StoredModule module;
    module.name = parsed.name;
    module.type = parsed.type;
    const std::size_t headerEnd = ExportHeaderEnd(text);
    if (parsed.type == vbext_ct::MSForm) {
        module.designer = text.substr(0, headerEnd);
        fs::path binary = path;
        std::error_code ec;
        if (fs::is_regular_file(binary.replace_extension(".frx"), ec))
            module.binaryPart = Utf8FromPath(binary);
    }
    module.text = text.substr(headerEnd);
    return module;
}

} // namespace

StoredProject ReadStoredProject(const std::string& path, const std::string& encoding)
{
    StoredProject project;
    std::error_code ec;
    if (!path.empty() && fs::is_directory(PathFromUtf8(path), ec)) {
        // Read as every command reads a folder, each file once.
        ModuleFolder folder(path);
        project.fileName = folder.Path();
        for (std::size_t i = 0; i < folder.Files().size(); ++i) {
            StoredModule module = StoredModuleFile(folder.File(i), encoding);
            if (auto duplicate = folder.Claim(i, module.name))
                throw *duplicate;
            project.modules.push_back(std::move(module));
        }
        return project;
    }
    // Opened first as every command opens a project, so that one rule judges the path and
    // names what is wrong with it.
    project.fileName = OpenProject(path, encoding)->FileName();
    if (IsDocumentPath(project.fileName))
        return LoadStoredDocument(project.fileName);
    project.modules.push_back(StoredModuleFile(PathFromUtf8(project.fileName), encoding));
    return project;
}

} // namespace quillmark
