// Zip packages read by libgsf.

#include "sources/documents/Containers.h"
#include "sources/documents/GsfSupport.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/VbaFormatError.h"

#include "base/AsciiText.h"

#include <deque>
#include <unordered_map>

namespace quillmark {

namespace {

class GsfPackage final : public ZipPackage {
public:
    // own: the same package read by our own reader, which knows each part's checksum; nullptr
    // when it cannot read it.
    GsfPackage(GPtr<GsfInfile> zip, std::unique_ptr<ZipArchive> own) : zip_(std::move(zip)), own_(std::move(own))
    {
        // libgsf shows the package as folders; the parts are listed folder by folder.
        std::deque<std::pair<std::string, GPtr<GsfInput>>> folders;
        folders.emplace_back("/", GPtr<GsfInput>(GSF_INPUT(g_object_ref(zip_.get()))));
        while (!folders.empty()) {
            const auto [prefix, folder] = std::move(folders.front());
            folders.pop_front();
            const int count = gsf_infile_num_children(GSF_INFILE(folder.get()));
            for (int i = 0; i < count; ++i) {
                const char* name = gsf_infile_name_by_index(GSF_INFILE(folder.get()), i);
                GPtr<GsfInput> child(gsf_infile_child_by_index(GSF_INFILE(folder.get()), i));
                if (name == nullptr || child == nullptr) {
                    continue;
                }
                if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
                    folders.emplace_back(prefix + name + "/", std::move(child));
                } else {
                    names_.push_back(prefix + name);
                    parts_.emplace(LowerAscii(names_.back()), std::move(child));
                }
            }
        }
    }

    const std::vector<std::string>& PartNames() const override { return names_; }

    std::optional<std::uint64_t> PartSize(const std::string& name) override
    {
        GsfInput* part = Find(name);
        if (part == nullptr) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(std::max<gsf_off_t>(gsf_input_size(part), 0));
    }

    std::string ReadPart(const std::string& name, const std::string& what) override
    {
        GsfInput* part = Find(name);
        if (part == nullptr || gsf_input_seek(part, 0, G_SEEK_SET)) {
            throw VbaFormatError(what + " cannot be read");
        }
        // libgsf inflates without checking the checksum. What it cannot read, or reads other than
        // the package says, our reader reads again to say what is wrong.
        const auto ownReading = [this, &name, &what] {
            if (own_ != nullptr) {
                own_->ReadPart(name, what);
            }
        };
        std::string data;
        try {
            data = ReadAll(part, what);
        } catch (const RuntimeError& error) {
            RefuseAsOwnReaderTells(error.Problem(), ownReading);
        }
        if (own_ != nullptr && !own_->Holds(name, data)) {
            RefuseAsOwnReaderTells(what + " is damaged (its checksum does not match)", ownReading);
        }
        return data;
    }

private:
    GsfInput* Find(const std::string& name) const
    {
        const auto found = parts_.find(LowerAscii(name));
        return found == parts_.end() ? nullptr : found->second.get();
    }

    GPtr<GsfInfile> zip_;
    std::unique_ptr<ZipArchive> own_;
    std::vector<std::string> names_;
    std::unordered_map<std::string, GPtr<GsfInput>> parts_; // by folded name; the first of a name
};

} // namespace

std::unique_ptr<ZipPackage> OpenZipPackage(const std::string& path)
{
    if (ContainerReadersInUse() == ContainerReaders::Own) {
        return OwnZipPackage(path);
    }
    InitGsf();
    ErrorHolder error;
    GPtr<GsfInput> source(gsf_input_stdio_new(path.c_str(), &error));
    if (source == nullptr) {
        throw VbaFormatError("cannot open the file: " + error.Message());
    }
    GPtr<GsfInfile> zip(gsf_infile_zip_new(source.get(), &error));
    if (zip == nullptr) {
        RefuseAsOwnReaderTells(error.Message(), [&path] { OwnZipPackage(path); });
    }
    std::unique_ptr<ZipArchive> own;
    try {
        own = OwnZipPackage(path);
    } catch (const RuntimeError&) {
        // libgsf reads what ours does not; its parts go unchecked then.
    }
    return std::make_unique<GsfPackage>(std::move(zip), std::move(own));
}

} // namespace quillmark
