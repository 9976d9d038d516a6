// Compound files read by libgsf.

#include "sources/documents/CompoundDirectory.h"
#include "sources/documents/Containers.h"
#include "sources/documents/GsfSupport.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/VbaFormatError.h"

#include "base/AsciiText.h"

#include <cstdint>
#include <optional>

namespace quillmark {

namespace {

bool IsStorage(GsfInput* input)
{
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

class GsfStorage final : public CompoundStorage {
public:
    // owners: what must outlive the storage (the file, its input and bytes).
    GsfStorage(GPtr<GsfInfile> storage, std::shared_ptr<void> owners)
        : owners_(std::move(owners)), storage_(std::move(storage))
    {}

    std::unique_ptr<CompoundStorage> Storage(const std::string& name, const std::string& path) override
    {
        GPtr<GsfInput> child = Child(name, path);
        if (child == nullptr || !IsStorage(child.get())) {
            return nullptr;
        }
        return std::make_unique<GsfStorage>(GPtr<GsfInfile>(GSF_INFILE(child.release())), owners_);
    }

    std::optional<std::string> Stream(const std::string& name, const std::string& path) override
    {
        GPtr<GsfInput> child = Child(name, path);
        if (child == nullptr || IsStorage(child.get())) {
            return std::nullopt;
        }
        return ReadAll(child.get(), "stream " + path);
    }

    bool Has(const std::string& name) override { return Child(name, name) != nullptr; }

private:
    // A child that is listed but cannot be opened is damaged.
    GPtr<GsfInput> Child(const std::string& name, const std::string& path)
    {
        const int count = gsf_infile_num_children(storage_.get());
        for (int i = 0; i < count; ++i) {
            const char* childName = gsf_infile_name_by_index(storage_.get(), i);
            if (childName != nullptr && SameName(childName, name)) {
                GPtr<GsfInput> child(gsf_infile_child_by_index(storage_.get(), i));
                if (child == nullptr) {
                    throw VbaFormatError("stream " + path + " is damaged (its sectors cannot be followed)");
                }
                return child;
            }
        }
        return nullptr;
    }

    std::shared_ptr<void> owners_;
    GPtr<GsfInfile> storage_;
};

GPtr<GsfInput> MemoryInput(const std::string& bytes)
{
    return GPtr<GsfInput>(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                               static_cast<gsf_off_t>(bytes.size()), FALSE));
}

std::uint32_t Le32(const guint8* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// libgsf reads the siblings of the root entry, which a sound file never has, with no parent to
// hold them, and loses their memory. A file whose root has any is read from a copy with them
// cleared: what they lead to is no part of the file's tree anyway. None for every other file.
std::optional<std::string> RootSiblingsCleared(GsfInput* source, const std::string& holder)
{
    constexpr gsf_off_t SiblingsAt = 0x44; // in a directory entry: left sibling, then right
    std::optional<gsf_off_t> siblings;
    if (const guint8* header =
            gsf_input_seek(source, 0, G_SEEK_SET) ? nullptr : gsf_input_read(source, 0x34, nullptr)) {
        const unsigned shift = header[0x1E] | header[0x1F] << 8;
        const std::uint32_t firstSector = Le32(header + 0x30);
        if (shift >= 7 && shift <= 16 && firstSector < 0xFFFFFFFA)
            siblings = ((static_cast<gsf_off_t>(firstSector) + 1) << shift) + SiblingsAt;
    }
    const guint8* ids =
        siblings && !gsf_input_seek(source, *siblings, G_SEEK_SET) ? gsf_input_read(source, 8, nullptr) : nullptr;
    const bool hasSiblings = ids && (Le32(ids) != 0xFFFFFFFF || Le32(ids + 4) != 0xFFFFFFFF);
    gsf_input_seek(source, 0, G_SEEK_SET);
    if (!hasSiblings)
        return std::nullopt;
    std::string copy = ReadAll(source, holder);
    copy.replace(static_cast<std::size_t>(*siblings), 8, 8, '\xFF');
    return copy;
}

// holder names the file in the damage ("the file", "the part"); ownReader reads it with our own
// reader, to tell what libgsf refuses.
CompoundFile Open(GPtr<GsfInput> source, const std::string& holder, const std::function<void()>& ownReader,
                  std::shared_ptr<void> bytes = nullptr)
{
    if (std::optional<std::string> cleared = RootSiblingsCleared(source.get(), holder)) {
        auto held = std::make_shared<std::string>(std::move(*cleared));
        source = MemoryInput(*held);
        bytes = std::move(held);
    }
    ErrorHolder error;
    GPtr<GsfInfile> file(gsf_infile_msole_new(source.get(), &error));
    if (file == nullptr) {
        RefuseAsOwnReaderTells(error.Message(), ownReader);
    }
    std::string damage = ImpossibleStreamSize(source.get(), holder);
    struct Owners {
        std::shared_ptr<void> bytes;
        GPtr<GsfInput> source;
        GPtr<GsfInfile> file;
    };
    GPtr<GsfInfile> root(GSF_INFILE(g_object_ref(file.get())));
    auto owners = std::make_shared<Owners>(Owners{std::move(bytes), std::move(source), std::move(file)});
    return {std::make_unique<GsfStorage>(std::move(root), std::move(owners)), std::move(damage)};
}

} // namespace

CompoundFile OpenCompoundFile(const std::string& path)
{
    if (ContainerReadersInUse() == ContainerReaders::Own) {
        return OwnCompoundFile(path);
    }
    InitGsf();
    ErrorHolder error;
    GPtr<GsfInput> source(gsf_input_stdio_new(path.c_str(), &error));
    if (source == nullptr) {
        throw VbaFormatError("cannot open the file: " + error.Message());
    }
    return Open(std::move(source), "the file", [&path] { OwnCompoundFile(path); });
}

CompoundFile OpenCompoundBytes(std::string bytes)
{
    if (ContainerReadersInUse() == ContainerReaders::Own) {
        return OwnCompoundBytes(std::move(bytes));
    }
    InitGsf();
    auto held = std::make_shared<std::string>(std::move(bytes));
    GPtr<GsfInput> source = MemoryInput(*held);
    return Open(
        std::move(source), "the part", [&held] { OwnCompoundBytes(*held); }, held);
}

} // namespace quillmark
