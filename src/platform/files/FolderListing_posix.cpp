#include "platform/files/FolderListing.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {

namespace {

RuntimeError ListingFailure(int error, const std::filesystem::path& path)
{
    return RuntimeError(SystemErrorNumber(error), {Utf8FromPath(path)},
                        std::string("cannot list the folder: ") + std::strerror(error));
}

int OpenFolderAt(int at, const char* name, const std::filesystem::path& path, int flags)
{
    const int descriptor = ::openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
    if (descriptor < 0)
        throw ListingFailure(errno, path);
    return descriptor;
}

enum class Kind { File, Folder, Other };

// As the listing says, else as the system says; a link is a file when it leads to a regular one.
Kind KindOf(int folder, const dirent& entry)
{
    unsigned char type = entry.d_type;
    struct stat status;
    if (type == DT_UNKNOWN) {
        if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return Kind::Other;
        type = S_ISDIR(status.st_mode)   ? DT_DIR
               : S_ISREG(status.st_mode) ? DT_REG
               : S_ISLNK(status.st_mode) ? DT_LNK
                                         : 0;
    }
    if (type == DT_DIR)
        return Kind::Folder;
    if (type == DT_REG)
        return Kind::File;
    if (type == DT_LNK && ::fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode))
        return Kind::File;
    return Kind::Other;
}

} // namespace

ListedFolder::ListedFolder(const std::filesystem::path& path)
    : path_(path), descriptor_(OpenFolderAt(AT_FDCWD, path.c_str(), path, 0))
{}

ListedFolder::ListedFolder(const ListedFolder& parent, const FolderEntry& subfolder)
    : path_(subfolder.path),
      descriptor_(OpenFolderAt(parent.descriptor_, subfolder.path.filename().c_str(), subfolder.path, O_NOFOLLOW))
{}

ListedFolder::~ListedFolder()
{
    ::close(descriptor_);
}

std::vector<FolderEntry> ListedFolder::Entries() const
{
    // The stream takes a descriptor of its own, so that this one stays open for the subfolders.
    const int listed = ::dup(descriptor_);
    DIR* const folder = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!folder) {
        const int error = errno;
        if (listed >= 0)
            ::close(listed);
        throw ListingFailure(error, path_);
    }
    ::rewinddir(folder); // the copy shares its position
    std::vector<FolderEntry> entries;
    errno = 0;
    for (const dirent* entry; (entry = ::readdir(folder)) != nullptr; errno = 0) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (const Kind kind = KindOf(descriptor_, *entry); kind != Kind::Other)
            entries.push_back({path_ / entry->d_name, kind == Kind::Folder});
    }
    const int error = errno;
    ::closedir(folder);
    if (error != 0)
        throw ListingFailure(error, path_);
    return entries;
}

} // namespace quillmark
