#include "platform/files/FolderListing.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"

#include <system_error>

namespace quillmark {

// Windows' own paths reach folders of any depth, so each folder is listed by its path.

ListedFolder::ListedFolder(const std::filesystem::path& path) : path_(path)
{}

ListedFolder::ListedFolder(const ListedFolder&, const FolderEntry& subfolder) : path_(subfolder.path)
{}

ListedFolder::~ListedFolder() = default;

std::vector<FolderEntry> ListedFolder::Entries() const
{
    namespace fs = std::filesystem;
    std::vector<FolderEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->symlink_status(typeError).type() == fs::file_type::directory)
            entries.push_back({it->path(), true});
        else if (it->is_regular_file(typeError))
            entries.push_back({it->path(), false});
    }
    if (ec)
        throw RuntimeError(SystemErrorNumber(ec.value()), {Utf8FromPath(path_)},
                           "cannot list the folder: " + ec.message());
    return entries;
}

} // namespace quillmark
