#include "platform/files/FolderListing.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"

namespace quillmark {

std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    std::vector<FolderEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        entries.push_back({it->path(), it->is_regular_file(typeError),
                           it->symlink_status(typeError).type() == fs::file_type::directory});
    }
    if (ec)
        throw RuntimeError::SystemFailure(ec.value(), "cannot list the folder", Utf8FromPath(folder));
    return entries;
}

} // namespace quillmark
