#include "cli/export/ExportFolder.h"

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

ExportFolder::ExportFolder(const std::filesystem::path& folder)
    : folder_(Checked([&] { return SiteFolder(folder); }))
{}

std::string ExportFolder::FileFor(std::string_view path)
{
    return Checked([&] { return folder_.FileFor(path); });
}

void ExportFolder::Write(std::string_view path, std::string_view bytes)
{
    const std::string file = FileFor(path);
    Checked([&] { WriteFileAtomically(file, std::string(bytes), NewFileAccess::Shared, Durability::Unsynced); });
}

} // namespace quillmark::cli
