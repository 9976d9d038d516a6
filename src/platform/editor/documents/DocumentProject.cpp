#include "platform/editor/documents/DocumentProject.h"

#include "platform/editor/ModuleFile.h"
#include "platform/editor/SourceError.h"
#include "platform/editor/TextDecoding.h"
#include "platform/editor/documents/DirStream.h"
#include "platform/editor/documents/ProjectStream.h"
#include "platform/editor/documents/VbaDecompression.h"
#include "platform/editor/documents/VbaFormatError.h"
#include "platform/editor/documents/VbaStorage.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace quillmark {

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return lower;
}

class ProjectDecoder {
public:
    explicit ProjectDecoder(std::uint16_t codePage) : codePage_(codePage), encoding_(CodePageEncoding(codePage)) {}

    std::string Text(std::string_view bytes, const std::string& what) const
    {
        try {
            return DecodeToUtf8(bytes, encoding_);
        } catch (const std::invalid_argument&) {
            throw VbaFormatError(what + " is not valid text in the project's code page " + std::to_string(codePage_));
        }
    }

    // The Unicode record when it is present and sound, else the code-page one.
    std::string Name(std::string_view unicode, std::string_view plain, const std::string& what) const
    {
        if (!unicode.empty() && unicode.size() % 2 == 0) {
            try {
                return DecodeToUtf8(unicode, "UTF-16LE");
            } catch (const std::invalid_argument&) {
                // fall back to the code-page name
            }
        }
        return Text(plain, what);
    }

private:
    std::uint16_t codePage_;
    std::string encoding_;
};

std::int32_t ComponentType(const DirModule& module, const std::string& name, const ProjectInfo& project,
                           const ProjectDecoder& decoder)
{
    const std::string key = Lower(name);
    for (const ProjectModule& entry : project.modules) {
        if (Lower(decoder.Text(entry.name, "a module name in the PROJECT stream")) == key) {
            return entry.type;
        }
    }
    return module.procedural ? 1 : 2;
}

std::string ModuleSource(VbaStorage& storage, const DirModule& module, const std::string& name,
                         const ProjectDecoder& decoder)
{
    const std::string streamName =
        decoder.Name(module.streamNameUnicode, module.streamName.empty() ? module.name : module.streamName,
                     "the stream name of module " + name);
    const std::optional<std::string> stream = storage.Stream("VBA/" + streamName);
    if (!stream) {
        throw VbaFormatError("the stream " + streamName + " of module " + name + " is missing");
    }
    std::string source;
    try {
        source = DecompressModuleSource(*stream, module.textOffset);
    } catch (const VbaFormatError& error) {
        throw VbaFormatError("the source of module " + name + " is damaged: " + error.what());
    }
    // The last chunk of a source may be padded with zeros.
    source.erase(source.find_last_not_of('\0') + 1);
    return decoder.Text(source, "the source of module " + name);
}

std::vector<std::shared_ptr<MemoryComponent>> LoadComponents(VbaStorage& storage, const ProjectInfo& project)
{
    const std::optional<std::string> dirStream = storage.Stream("VBA/dir");
    if (!dirStream) {
        throw VbaFormatError("the VBA storage has no dir stream");
    }
    DirInfo dir;
    try {
        dir = ParseDirStream(DecompressContainer(*dirStream));
    } catch (const VbaFormatError& error) {
        throw VbaFormatError(std::string("the dir stream is damaged: ") + error.what());
    }
    const ProjectDecoder decoder(dir.codePage);
    std::vector<std::shared_ptr<MemoryComponent>> components;
    components.reserve(dir.modules.size());
    for (const DirModule& module : dir.modules) {
        const std::string name = decoder.Name(module.nameUnicode, module.name, "a module name");
        const std::string text = ModuleSource(storage, module, name, decoder);
        components.push_back(std::make_shared<MemoryComponent>(
            ComponentType(module, name, project, decoder),
            std::make_shared<MemoryCodeModule>(name, ModuleText(VisibleCode(text)))));
    }
    return components;
}

} // namespace

bool IsDocumentPath(const std::string& path)
{
    static constexpr std::array<std::string_view, 23> extensions{
        ".xls",  ".xla",  ".xlt",  ".xlsm", ".xlsb", ".xlam", ".xltm", ".xlsx", ".doc", ".dot",  ".docm", ".dotm",
        ".docx", ".ppt",  ".pot",  ".pps",  ".pptm", ".potm", ".ppsm", ".ppam", ".pptx", ".bin", ".vsdm"};
    const std::string extension = Lower(std::filesystem::path(path).extension().string());
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

std::shared_ptr<MemoryProject> LoadDocumentProject(const std::string& path)
{
    try {
        const std::unique_ptr<VbaStorage> storage = VbaStorage::Open(path);
        const std::optional<std::string> projectStream = storage->Stream("PROJECT");
        const ProjectInfo project = ParseProjectStream(projectStream.value_or(std::string()));
        std::vector<std::shared_ptr<MemoryComponent>> components;
        if (project.lockedForViewing) {
            // Nothing of a locked project is shown; its code is read only when it is sound.
            try {
                components = LoadComponents(*storage, project);
            } catch (const VbaFormatError&) {
                components.clear();
            }
        } else {
            components = LoadComponents(*storage, project);
        }
        return std::make_shared<MemoryProject>(std::filesystem::absolute(path).string(), std::move(components),
                                               project.lockedForViewing ? 1 : 0);
    } catch (const VbaFormatError& error) {
        throw SourceError(path, error.what());
    }
}

} // namespace quillmark
