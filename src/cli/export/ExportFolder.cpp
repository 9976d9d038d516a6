#include "cli/export/ExportFolder.h"

#include "base/PathText.h"
#include "platform/files/AtomicFile.h"

namespace quillmark::cli {

namespace {

// The site's folder reports in std::runtime_error; export in RuntimeError.
template <typename Step>
auto Checked(Step step)
{
    try {
        return step();
    } catch (...) {
        throw CurrentError();
    }
}

} // namespace

ExportFolder::ExportFolder(const std::filesystem::path& folder, const std::function<void()>& waiting)
    : root_(folder), folder_(Checked([&] { return SiteFolder(folder, waiting); }))
{}

std::string ExportFolder::FileFor(std::string_view path)
{
    Checked([&] { return folder_.FileFor(path); });
    return Utf8FromPath(root_ / PathFromUtf8(path));
}

void ExportFolder::Write(std::string_view path, std::string_view bytes)
{
    Checked([&] {
        const SiteFolder::File file = folder_.FileFor(path);
        AtomicFileWriter writer(file.folder, file.name, NewFileAccess::Shared, Durability::Unsynced);
        writer.Write(bytes);
        writer.Commit();
    });
}

} // namespace quillmark::cli
