#include "platform/editor/documents/VbaStorage.h"

#include "platform/editor/documents/VbaFormatError.h"

#include <gsf/gsf.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

namespace quillmark {

namespace {

// A compound file or package part larger than this is refused rather than read.
constexpr gsf_off_t MaxStreamSize = 128 * 1024 * 1024;
constexpr gsf_off_t MaxRelationshipsSize = 4 * 1024 * 1024;

constexpr const char* OfficeDocumentRelation =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* VbaProjectRelation = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";

struct Unref {
    void operator()(void* object) const
    {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, Unref>;

class ErrorHolder {
public:
    ErrorHolder() = default;
    ErrorHolder(const ErrorHolder&) = delete;
    ErrorHolder& operator=(const ErrorHolder&) = delete;
    ~ErrorHolder() { g_clear_error(&error_); }
    GError** operator&() { return &error_; }
    std::string Message() const { return error_ != nullptr ? error_->message : "unknown failure"; }

private:
    GError* error_ = nullptr;
};

void IgnoreLibraryWarnings(const gchar*, GLogLevelFlags, const gchar*, gpointer)
{}

// libgsf warns on stderr about every damaged file; our own errors say it better.
void InitLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        constexpr auto levels =
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE);
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "libgsf:open_pkg", "XML"}) {
            g_log_set_handler(domain, levels, IgnoreLibraryWarnings, nullptr);
        }
    });
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return g_ascii_tolower(x) == g_ascii_tolower(y); });
}

GPtr<GsfInput> Child(GsfInfile* storage, std::string_view name)
{
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(storage, i);
        if (childName != nullptr && SameName(childName, name)) {
            return GPtr<GsfInput>(gsf_infile_child_by_index(storage, i));
        }
    }
    return nullptr;
}

bool IsStorage(GsfInput* input)
{
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

gsf_off_t CheckedSize(GsfInput* input, const std::string& what)
{
    const gsf_off_t size = gsf_input_size(input);
    if (size < 0 || size > MaxStreamSize) {
        throw VbaFormatError(what + " is too large (" + std::to_string(size) + " bytes)");
    }
    return size;
}

void ReadInto(GsfInput* input, guint8* buffer, std::size_t size, const std::string& what)
{
    for (std::size_t done = 0; done < size;) {
        const std::size_t step = std::min<std::size_t>(size - done, 64 * 1024);
        if (gsf_input_read(input, step, buffer + done) == nullptr) {
            throw VbaFormatError(what + " is damaged (cannot be read past byte " + std::to_string(done) + ")");
        }
        done += step;
    }
}

std::string ReadAll(GsfInput* input, const std::string& what)
{
    std::string data(static_cast<std::size_t>(CheckedSize(input, what)), '\0');
    ReadInto(input, reinterpret_cast<guint8*>(data.data()), data.size(), what);
    return data;
}

// The whole of a part as an input of its own, so that reading it needs no further inflating.
GPtr<GsfInput> InMemory(GsfInput* input, const std::string& what)
{
    const auto size = static_cast<std::size_t>(CheckedSize(input, what));
    auto* buffer = static_cast<guint8*>(g_try_malloc(std::max<std::size_t>(size, 1)));
    if (buffer == nullptr) {
        throw VbaFormatError(what + " does not fit in memory");
    }
    try {
        ReadInto(input, buffer, size, what);
    } catch (...) {
        g_free(buffer);
        throw;
    }
    return GPtr<GsfInput>(gsf_input_memory_new(buffer, static_cast<gsf_off_t>(size), TRUE));
}

// The project storage of a compound file: holds the VBA storage and the PROJECT stream.
class CompoundStorage final : public VbaStorage {
public:
    CompoundStorage(GPtr<GsfInput> source, GPtr<GsfInfile> file, GPtr<GsfInput> project)
        : source_(std::move(source)), file_(std::move(file)), project_(std::move(project))
    {}

    std::optional<std::string> Stream(const std::string& path) override
    {
        GPtr<GsfInput> current(GSF_INPUT(g_object_ref(project_.get())));
        std::size_t at = 0;
        while (true) {
            const std::size_t slash = path.find('/', at);
            const std::string part = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
            if (!IsStorage(current.get())) {
                return std::nullopt;
            }
            current = Child(GSF_INFILE(current.get()), part);
            if (current == nullptr) {
                return std::nullopt;
            }
            if (slash == std::string::npos) {
                break;
            }
            at = slash + 1;
        }
        if (IsStorage(current.get())) {
            return std::nullopt;
        }
        return ReadAll(current.get(), "stream " + path);
    }

private:
    GPtr<GsfInput> source_;
    GPtr<GsfInfile> file_;
    GPtr<GsfInput> project_;
};

bool HasChild(GsfInfile* storage, std::string_view name)
{
    return Child(storage, name) != nullptr;
}

std::unique_ptr<VbaStorage> OpenCompound(GPtr<GsfInput> source, bool inPackage)
{
    ErrorHolder error;
    GPtr<GsfInfile> file(gsf_infile_msole_new(source.get(), &error));
    if (file == nullptr) {
        throw VbaFormatError(std::string(inPackage ? "its vbaProject.bin part" : "the compound file") +
                             " is damaged: " + error.Message());
    }
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
        GPtr<GsfInput> storage = Child(file.get(), name);
        if (storage != nullptr && IsStorage(storage.get()) && HasChild(GSF_INFILE(storage.get()), "VBA")) {
            return std::make_unique<CompoundStorage>(std::move(source), std::move(file), std::move(storage));
        }
    }
    if (HasChild(file.get(), "VBA")) {
        GPtr<GsfInput> root(GSF_INPUT(g_object_ref(file.get())));
        return std::make_unique<CompoundStorage>(std::move(source), std::move(file), std::move(root));
    }
    throw VbaFormatError(inPackage ? "its vbaProject.bin part holds no VBA storage"
                                   : "the document contains no VBA project");
}

// libgsf reads a part's relationships whole; refuse oversized ones before it does.
void CheckRelationshipsSize(GsfInput* part)
{
    GPtr<GsfInput> rels;
    if (GsfInfile* container = gsf_input_container(part); gsf_input_name(part) != nullptr && container != nullptr) {
        GPtr<GsfInput> folder(gsf_infile_child_by_name(container, "_rels"));
        if (folder != nullptr && GSF_IS_INFILE(folder.get())) {
            const std::string name = std::string(gsf_input_name(part)) + ".rels";
            rels.reset(gsf_infile_child_by_name(GSF_INFILE(folder.get()), name.c_str()));
        }
    } else {
        rels.reset(gsf_infile_child_by_vname(GSF_INFILE(part), "_rels", ".rels", nullptr));
    }
    if (rels != nullptr && gsf_input_size(rels.get()) > MaxRelationshipsSize) {
        throw VbaFormatError("the package's relationships part is too large");
    }
}

GPtr<GsfInput> Related(GsfInput* part, const char* type)
{
    CheckRelationshipsSize(part);
    GsfOpenPkgRel* relation = gsf_open_pkg_lookup_rel_by_type(part, type);
    if (relation == nullptr || gsf_open_pkg_rel_is_extern(relation)) {
        return nullptr;
    }
    ErrorHolder error;
    GPtr<GsfInput> target(gsf_open_pkg_open_rel(part, relation, &error));
    if (target == nullptr) {
        throw VbaFormatError(std::string("the package names the part ") + gsf_open_pkg_rel_get_target(relation) +
                             ", which it does not contain");
    }
    return target;
}

std::unique_ptr<VbaStorage> OpenPackage(GsfInput* source)
{
    ErrorHolder error;
    GPtr<GsfInfile> zip(gsf_infile_zip_new(source, &error));
    if (zip == nullptr) {
        throw VbaFormatError("the zip package is damaged: " + error.Message());
    }
    GPtr<GsfInput> main = Related(GSF_INPUT(zip.get()), OfficeDocumentRelation);
    if (main == nullptr) {
        throw VbaFormatError("the zip file is not an Office document (it has no main document part)");
    }
    GPtr<GsfInput> vba = Related(main.get(), VbaProjectRelation);
    if (vba == nullptr) {
        throw VbaFormatError("the document contains no VBA project");
    }
    // The compound file reader seeks back and forth; a zip member would inflate again each time.
    return OpenCompound(InMemory(vba.get(), "the vbaProject.bin part"), true);
}

} // namespace

std::unique_ptr<VbaStorage> VbaStorage::Open(const std::string& path)
{
    InitLibrary();
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
