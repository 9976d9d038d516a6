#include "platform/editor/documents/VbaStorage.h"

#include "platform/editor/ProcedureTable.h"
#include "platform/editor/documents/CompoundDirectory.h"
#include "platform/editor/documents/GsfSupport.h"
#include "platform/editor/documents/VbaFormatError.h"
#include "platform/editor/documents/VbaPackage.h"

#include <cstring>
#include <string_view>

namespace quillmark {

namespace {

// The child of storage with this name (ignoring case); nothing when there is none. A child that
// is listed but cannot be opened is damaged; path names it in the error.
GPtr<GsfInput> Child(GsfInfile* storage, const std::string& name, const std::string& path)
{
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(storage, i);
        if (childName != nullptr && SameName(childName, name)) {
            GPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
            if (child == nullptr) {
                throw VbaFormatError("stream " + path + " is damaged (its sectors cannot be followed)");
            }
            return child;
        }
    }
    return nullptr;
}

bool IsStorage(GsfInput* input)
{
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

bool HasChild(GsfInfile* storage, const std::string& name)
{
    return Child(storage, name, name) != nullptr;
}

// The project storage of a compound file: holds the VBA storage and the PROJECT stream.
class CompoundStorage final : public VbaStorage {
public:
    CompoundStorage(GPtr<GsfInput> source, GPtr<GsfInfile> file, GPtr<GsfInput> project, std::string damage)
        : source_(std::move(source)), file_(std::move(file)), project_(std::move(project)), damage_(std::move(damage))
    {}

    std::optional<std::string> Stream(const std::string& path) override
    {
        GPtr<GsfInput> current(GSF_INPUT(g_object_ref(project_.get())));
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t slash = path.find('/', at);
            const std::string part = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
            current = IsStorage(current.get()) ? Child(GSF_INFILE(current.get()), part, path) : nullptr;
            if (current == nullptr) {
                return Missing();
            }
            at = slash == std::string::npos ? slash : slash + 1;
        }
        if (IsStorage(current.get())) {
            return Missing();
        }
        return ReadAll(current.get(), "stream " + path);
    }

private:
    // What is not there may have been dropped with a damaged directory entry.
    std::optional<std::string> Missing() const
    {
        if (!damage_.empty()) {
            throw VbaFormatError(damage_);
        }
        return std::nullopt;
    }

    GPtr<GsfInput> source_;
    GPtr<GsfInfile> file_;
    GPtr<GsfInput> project_;
    std::string damage_;
};

std::unique_ptr<VbaStorage> OpenCompound(GPtr<GsfInput> source, bool inPackage)
{
    const std::string what = inPackage ? "its vbaProject.bin part" : "the compound file";
    ErrorHolder error;
    GPtr<GsfInfile> file(gsf_infile_msole_new(source.get(), &error));
    if (file == nullptr) {
        throw VbaFormatError(what + " is damaged: " + error.Message());
    }
    const std::string oversized = ImpossibleStreamSize(source.get(), inPackage ? "the part" : "the file");
    const std::string damage = oversized.empty() ? std::string() : what + " is damaged: " + oversized;
    if (!inPackage) {
        if (HasChild(file.get(), "EncryptedPackage")) {
            throw VbaFormatError("the document is encrypted (it has a password to open); remove the password "
                                 "in Office and save it again to read its VBA project");
        }
        if (HasChild(file.get(), "PowerPoint Document")) {
            throw VbaFormatError("PowerPoint 97-2003 presentations (.ppt) keep their VBA project in a form "
                                 "that cannot be read here; save the presentation as .pptm");
        }
    }
    for (const char* name : {"_VBA_PROJECT_CUR", "Macros"}) {
        GPtr<GsfInput> storage = Child(file.get(), name, name);
        if (storage != nullptr && IsStorage(storage.get()) && HasChild(GSF_INFILE(storage.get()), "VBA")) {
            return std::make_unique<CompoundStorage>(std::move(source), std::move(file), std::move(storage), damage);
        }
    }
    if (HasChild(file.get(), "VBA")) {
        GPtr<GsfInput> root(GSF_INPUT(g_object_ref(file.get())));
        return std::make_unique<CompoundStorage>(std::move(source), std::move(file), std::move(root), damage);
    }
    if (!damage.empty()) {
        throw VbaFormatError(damage);
    }
    if (inPackage) {
        throw VbaFormatError("its vbaProject.bin part holds no VBA storage");
    }
    throw NoVbaProjectError();
}

std::unique_ptr<VbaStorage> OpenPackage(GsfInput* source)
{
    ErrorHolder error;
    GPtr<GsfInfile> zip(gsf_infile_zip_new(source, &error));
    if (zip == nullptr) {
        throw VbaFormatError("the zip package is damaged: " + error.Message());
    }
    GPtr<GsfInput> vba = FindVbaProjectPart(zip.get());
    if (vba == nullptr) {
        throw NoVbaProjectError();
    }
    // The compound file reader seeks back and forth; a zip member would inflate again each time.
    return OpenCompound(InMemory(vba.get(), "the vbaProject.bin part"), true);
}

} // namespace

std::unique_ptr<VbaStorage> VbaStorage::Open(const std::string& path)
{
    InitGsf();
    ErrorHolder error;
    GPtr<GsfInput> source(gsf_input_stdio_new(path.c_str(), &error));
    if (source == nullptr) {
        throw VbaFormatError("cannot open the file: " + error.Message());
    }
    guint8 magic[8] = {};
    const bool longEnough = gsf_input_size(source.get()) >= 8 && gsf_input_read(source.get(), 8, magic) != nullptr;
    gsf_input_seek(source.get(), 0, G_SEEK_SET);
    static constexpr guint8 compound[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (longEnough && std::memcmp(magic, compound, 8) == 0) {
        return OpenCompound(std::move(source), false);
    }
    if (longEnough && std::memcmp(magic, "PK\x03\x04", 4) == 0) {
        return OpenPackage(source.get());
    }
    throw VbaFormatError("not an Office document or VBA project file (neither a compound file nor a zip package)");
}

} // namespace quillmark
