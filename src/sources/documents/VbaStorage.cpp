#include "sources/documents/VbaStorage.h"

#include "base/PathText.h"
#include "sources/documents/Containers.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/VbaPackage.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <string_view>

namespace quillmark {

namespace {

// The project storage of a compound file: holds the VBA storage and the PROJECT stream.
class ProjectStorage final : public VbaStorage {
public:
    ProjectStorage(CompoundFile file, std::unique_ptr<CompoundStorage> project)
        : file_(std::move(file)), project_(std::move(project))
    {}

    std::optional<std::string> Stream(const std::string& path) override
    {
        std::unique_ptr<CompoundStorage> folder;
        CompoundStorage* current = project_.get();
        for (std::size_t at = 0;;) {
            const std::size_t slash = path.find('/', at);
            const std::string part = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
            if (slash == std::string::npos) {
                std::optional<std::string> stream = current->Stream(part, path);
                return stream ? stream : Missing();
            }
            folder = current->Storage(part, path);
            if (folder == nullptr) {
                return Missing();
            }
            current = folder.get();
            at = slash + 1;
        }
    }

private:
    // What is not there may have been dropped with a damaged directory entry.
    std::optional<std::string> Missing() const
    {
        if (!file_.damage.empty()) {
            throw VbaFormatError(file_.damage);
        }
        return std::nullopt;
    }

    CompoundFile file_;
    std::unique_ptr<CompoundStorage> project_;
};

std::unique_ptr<VbaStorage> OpenCompound(CompoundFile file, bool inPackage)
{
    const std::string what = inPackage ? "its vbaProject.bin part" : "the compound file";
    if (!file.damage.empty()) {
        file.damage = what + " is damaged: " + file.damage;
    }
    CompoundStorage& root = *file.root;
    if (!inPackage) {
        if (root.Has("EncryptedPackage")) {
            throw EncryptedDocumentError();
        }
        if (root.Has("PowerPoint Document")) {
            throw VbaFormatError("PowerPoint 97-2003 presentations (.ppt) keep their VBA project in a form "
                                 "that cannot be read here; save the presentation as .pptm");
        }
    }
    for (const char* name : {"_VBA_PROJECT_CUR", "Macros"}) {
        std::unique_ptr<CompoundStorage> storage = root.Storage(name, name);
        if (storage != nullptr && storage->Has("VBA")) {
            return std::make_unique<ProjectStorage>(std::move(file), std::move(storage));
        }
    }
    if (root.Has("VBA")) {
        std::unique_ptr<CompoundStorage> project = std::move(file.root);
        return std::make_unique<ProjectStorage>(std::move(file), std::move(project));
    }
    if (!file.damage.empty()) {
        throw VbaFormatError(file.damage);
    }
    if (inPackage) {
        throw VbaFormatError("its vbaProject.bin part holds no VBA storage");
    }
    throw NoVbaProjectError();
}

// open(), its failure told as the damage of what.
template <typename Open>
CompoundFile OpenCompoundAs(const std::string& what, Open open)
{
    try {
        return open();
    } catch (const RuntimeError& error) {
        throw VbaFormatError(what + " is damaged: " + error.Problem());
    }
}

std::unique_ptr<VbaStorage> OpenPackage(const std::string& path)
{
    std::unique_ptr<ZipPackage> package;
    try {
        package = OpenZipPackage(path);
    } catch (const RuntimeError& error) {
        throw VbaFormatError("the zip package is damaged: " + error.Problem());
    }
    const std::optional<std::string> vba = FindVbaProjectPart(*package);
    if (!vba) {
        throw NoVbaProjectError();
    }
    // The compound file reader seeks back and forth; a zip member would inflate again each time.
    std::string bytes;
    try {
        bytes = ReadPackagePart(*package, *vba, "the vbaProject.bin part", MaxStreamSize).value();
    } catch (const std::bad_alloc&) {
        throw VbaFormatError("the vbaProject.bin part does not fit in memory");
    }
    return OpenCompound(
        OpenCompoundAs("its vbaProject.bin part", [&bytes] { return OpenCompoundBytes(std::move(bytes)); }), true);
}

// The first bytes of the file, which tell its container.
std::string Signature(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) {
        throw VbaFormatError(std::string("cannot open the file: ") + std::strerror(errno));
    }
    std::string signature(8, '\0');
    in.read(signature.data(), static_cast<std::streamsize>(signature.size()));
    signature.resize(static_cast<std::size_t>(in.gcount()));
    return signature;
}

} // namespace

std::unique_ptr<VbaStorage> VbaStorage::Open(const std::string& path)
{
    const std::string signature = Signature(path);
    if (signature == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        return OpenCompound(OpenCompoundAs("the compound file", [&path] { return OpenCompoundFile(path); }), false);
    }
    if (signature.size() == 8 && signature.starts_with("PK\x03\x04")) {
        return OpenPackage(path);
    }
    throw VbaFormatError("not an Office document or VBA project file (neither a compound file nor a zip package)");
}

} // namespace quillmark
