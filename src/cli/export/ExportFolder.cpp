#include "cli/export/ExportFolder.h"

#include "base/PathText.h"
#include "platform/files/AtomicFile.h"

namespace quillmark::cli {

namespace {

// The files an export writes, whose temporary twins a stopped run may have left.
bool IsExportFile(std::string_view name)
{
    for (const char* extension : {".bas", ".cls", ".frm", ".frx"})
        if (name.ends_with(extension))
            return true;
    return false;
}

} // namespace

ExportFolder::ExportFolder(const std::filesystem::path& folder, const std::function<void()>& waiting)
    : root_(folder), folder_(folder, waiting, IsExportFile)
{}

std::string ExportFolder::FileFor(std::string_view path)
{
    folder_.FileFor(path);
    return Utf8FromPath(root_ / PathFromUtf8(path));
}

void ExportFolder::Write(std::string_view path, std::string_view bytes)
{
    const SiteFolder::File file = folder_.FileFor(path);
    AtomicFileWriter writer(file.folder, file.name, NewFileAccess::Shared, Durability::Unsynced);
    writer.Write(bytes);
    writer.Commit();
}

} // namespace quillmark::cli
