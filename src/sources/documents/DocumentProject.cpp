#include "sources/documents/DocumentProject.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "codemodel/HostObjectModel.h"
#include "sources/ModuleFile.h"
#include "sources/ModuleSize.h"
#include "sources/TextDecoding.h"
#include "sources/documents/DirStream.h"
#include "sources/documents/ProjectStream.h"
#include "sources/documents/VbaDecompression.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/VbaStorage.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string_view>

namespace quillmark {

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

class ProjectDecoder {
public:
    explicit ProjectDecoder(std::uint16_t codePage) : encoding_(CodePageEncoding(codePage))
    {
        try {
            DecodeToUtf8("A", encoding_);
        } catch (const RuntimeError&) {
            throw VbaFormatError("the project's code page " + std::to_string(codePage) + " is not supported");
        }
    }

    // Bytes that the code page does not define become U+FFFD rather than costing the project.
    std::string Text(std::string_view bytes) const
    {
        try {
            return DecodeToUtf8(bytes, encoding_);
        } catch (const RuntimeError&) {
            std::string text;
            for (std::size_t at = 0; at < bytes.size();) {
                const std::size_t end = std::min(bytes.find('\n', at), bytes.size() - 1) + 1;
                text += Line(bytes.substr(at, end - at));
                at = end;
            }
            return text;
        }
    }

    // The Unicode record when it is present and sound, else the code-page one.
    std::string Name(std::string_view unicode, std::string_view plain) const
    {
        if (!unicode.empty() && unicode.size() % 2 == 0) {
            try {
                return NameText(DecodeToUtf8(unicode, "UTF-16LE"));
            } catch (const RuntimeError&) {
                // fall back to the code-page name
            }
        }
        return NameText(Text(plain));
    }

private:
    std::string Line(std::string_view bytes) const
    {
        try {
            return DecodeToUtf8(bytes, encoding_);
        } catch (const RuntimeError&) {
            std::string text;
            for (std::size_t at = 0; at < bytes.size();) {
                std::size_t length = 1;
                for (; length <= 2 && at + length <= bytes.size(); ++length) {
                    try {
                        text += DecodeToUtf8(bytes.substr(at, length), encoding_);
                        break;
                    } catch (const RuntimeError&) {
                        // a longer character, or none
                    }
                }
                if (length > 2 || at + length > bytes.size()) {
                    text += ReplacementCharacter;
                    length = 1;
                }
                at += length;
            }
            return text;
        }
    }

    std::string encoding_;
};

// Component types by lower-case module name, as the PROJECT stream gives them.
std::map<std::string, std::int32_t> ProjectTypes(const ProjectInfo& project, const ProjectDecoder& decoder)
{
    std::map<std::string, std::int32_t> types;
    for (const ProjectModule& entry : project.modules) {
        types.emplace(LowerAscii(decoder.Text(entry.name)), entry.type);
    }
    return types;
}

constexpr std::size_t MaxProjectSize = MaxInputModuleSize;

std::string ModuleSource(VbaStorage& storage, const DirModule& module, const std::string& name,
                         const ProjectDecoder& decoder, std::size_t& budget)
{
    const std::string streamName =
        decoder.Name(module.streamNameUnicode, module.streamName.empty() ? module.name : module.streamName);
    const std::optional<std::string> stream = storage.Stream("VBA/" + streamName);
    if (!stream) {
        throw VbaFormatError("the stream " + streamName + " of module " + name + " is missing");
    }
    std::string source;
    try {
        source = DecompressModuleSource(*stream, module.textOffset, std::min(budget, MaxDecompressedSize));
    } catch (const RuntimeError& error) {
        if (IsVbaTooLarge(error) && budget < MaxDecompressedSize) {
            throw VbaTooLargeError("the modules together decompress to more than " +
                                   std::to_string(MaxProjectSize / (1024 * 1024)) + " MiB");
        }
        throw VbaFormatError("the source of module " + name + " is damaged: " + error.Problem());
    }
    budget -= source.size();
    // The last chunk of a source may be padded with zeros.
    source.erase(source.find_last_not_of('\0') + 1);
    return ReplaceControlCharacters(decoder.Text(source));
}

// The modules as the project stores them, with the designer text of forms when designers is set.
StoredProject ReadModules(VbaStorage& storage, const ProjectInfo& project, bool designers)
{
    const std::optional<std::string> dirStream = storage.Stream("VBA/dir");
    if (!dirStream) {
        throw VbaFormatError("the VBA storage has no dir stream");
    }
    DirInfo dir;
    try {
        dir = ParseDirStream(DecompressContainer(*dirStream));
    } catch (const RuntimeError& error) {
        throw VbaFormatError("the dir stream is damaged: " + error.Problem());
    }
    const ProjectDecoder decoder(dir.codePage);
    const std::map<std::string, std::int32_t> types = ProjectTypes(project, decoder);
    StoredProject stored;
    stored.encoding = CodePageEncoding(dir.codePage);
    stored.modules.reserve(dir.modules.size());
    std::size_t budget = MaxProjectSize;
    for (const DirModule& module : dir.modules) {
        StoredModule& read = stored.modules.emplace_back();
        read.name = decoder.Name(module.nameUnicode, module.name);
        read.text = ModuleSource(storage, module, read.name, decoder, budget);
        const auto type = types.find(LowerAscii(read.name));
        read.type = type != types.end() ? type->second : module.procedural ? 1 : 2;
        if (designers && read.type == vbext_ct::MSForm) {
            // A form's designer storage bears its module's stream name.
            const std::string streamName =
                decoder.Name(module.streamNameUnicode, module.streamName.empty() ? module.name : module.streamName);
            if (const std::optional<std::string> frame = storage.Stream(streamName + "/\x03VBFrame"))
                read.designer = ReplaceControlCharacters(decoder.Text(*frame));
        }
    }
    return stored;
}

std::vector<std::shared_ptr<MemoryComponent>> LoadComponents(VbaStorage& storage, const ProjectInfo& project)
{
    StoredProject stored = ReadModules(storage, project, false);
    std::vector<std::shared_ptr<MemoryComponent>> components;
    components.reserve(stored.modules.size());
    for (StoredModule& module : stored.modules)
        components.push_back(std::make_shared<MemoryComponent>(
            module.type, std::make_shared<MemoryCodeModule>(std::move(module.name), VisibleLines(std::move(module.text)))));
    return components;
}

// Code whose lock state cannot be told is not shown.
ProjectInfo ReadProjectStream(VbaStorage& storage)
{
    constexpr std::string_view consequence = ", so whether the project is locked for viewing cannot be told";
    const std::optional<std::string> stream = storage.Stream("PROJECT");
    if (!stream) {
        throw VbaFormatError("the PROJECT stream is missing" + std::string(consequence));
    }
    try {
        return ParseProjectStream(*stream);
    } catch (const RuntimeError& error) {
        throw VbaFormatError(error.Problem() + std::string(consequence));
    }
}

// The absolute form of a document's path.
std::string DocumentFileName(const std::string& path)
{
    return Utf8FromPath(std::filesystem::absolute(PathFromUtf8(path)).lexically_normal());
}

} // namespace

std::shared_ptr<MemoryProject> LoadDocumentProject(const std::string& path)
{
    try {
        const std::unique_ptr<VbaStorage> storage = VbaStorage::Open(path);
        const ProjectInfo project = ReadProjectStream(*storage);
        std::vector<std::shared_ptr<MemoryComponent>> components;
        if (project.lockedForViewing) {
            // Nothing of a locked project is shown; its code is read only when it is sound.
            try {
                components = LoadComponents(*storage, project);
            } catch (const RuntimeError&) {
                components.clear();
            }
        } else {
            components = LoadComponents(*storage, project);
        }
        return std::make_shared<MemoryProject>(DocumentFileName(path), std::move(components),
                                               project.lockedForViewing ? 1 : 0);
    } catch (RuntimeError& error) {
        error.Locate({path});
        throw;
    }
}

StoredProject LoadStoredDocument(const std::string& path)
{
    try {
        const std::unique_ptr<VbaStorage> storage = VbaStorage::Open(path);
        const ProjectInfo project = ReadProjectStream(*storage);
        StoredProject stored;
        if (!project.lockedForViewing)
            stored = ReadModules(*storage, project, true);
        stored.fileName = DocumentFileName(path);
        stored.locked = project.lockedForViewing;
        return stored;
    } catch (RuntimeError& error) {
        error.Locate({path});
        throw;
    }
}

} // namespace quillmark
