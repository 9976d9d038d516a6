#include "cli/export/ExportFolder.h"

#include "base/AsciiText.h"
#include "platform/files/AtomicFile.h"

#include <algorithm>
#include <array>

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

// The files that export writes, whose temporary twins a stopped run may have left.
bool IsExportedFileName(std::string_view name)
{
    constexpr std::array<std::string_view, 4> extensions{".bas", ".cls", ".frm", ".frx"};
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view extension) {
        return name.size() > extension.size() && SameName(name.substr(name.size() - extension.size()), extension);
    });
}

} // namespace

ExportFolder::ExportFolder(const std::filesystem::path& folder)
    : folder_(Checked([&] { return SiteFolder(folder, IsExportedFileName); }))
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
