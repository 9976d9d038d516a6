#include "sources/StoredProject.h"

#include "base/PathText.h"
#include "codemodel/HostObjectModel.h"
#include "platform/files/FileReading.h"
#include "sources/DocumentPath.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFile.h"
#include "sources/ModuleFiles.h"
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
    const std::string where = Utf8FromPath(path);
    FileText file = ReadWholeFile(path);
    if (!file.exists)
        throw RuntimeError(err::FileNotFound, {where}, "the file is gone");
    std::string text;
    try {
        text = DecodeModuleBytes(std::move(file.text), encoding);
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.Number(), {where}, "cannot decode the text: " + e.Problem(), e.GetKind());
    }
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
    // Opened first as every command opens a project, so that one rule judges the path and
    // names what is wrong with it.
    const std::string fileName = OpenProject(path, encoding)->FileName();
    const fs::path where = PathFromUtf8(fileName);
    std::error_code ec;
    const bool folder = fs::is_directory(where, ec);
    if (!folder && IsDocumentPath(fileName))
        return LoadStoredDocument(fileName);
    StoredProject project;
    project.fileName = fileName;
    for (const fs::path& file : folder ? ModuleFilesIn(where) : std::vector{where})
        project.modules.push_back(StoredModuleFile(file, encoding));
    return project;
}

} // namespace quillmark
