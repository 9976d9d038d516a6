#include "platform/files/Folder.h"

#include "base/RuntimeError.h"
#include "platform/files/TemporaryFiles.h"

#include <cerrno>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {

Folder::Folder(const std::string& path)
    : path_(path), descriptor_(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (descriptor_ < 0)
        throw RuntimeError::SystemFailure(errno, "cannot open folder", path);
}

Folder::Folder(std::string path, std::string, int descriptor, void*) : path_(std::move(path)), descriptor_(descriptor)
{}

Folder::Folder(Folder&& other) noexcept
    : path_(std::move(other.path_)), descriptor_(std::exchange(other.descriptor_, -1))
{}

Folder::~Folder()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::string Folder::PathOf(std::string_view name) const
{
    return path_ + (path_.ends_with('/') ? "" : "/") + std::string(name);
}

std::string Folder::SystemPathOf(std::string_view name) const
{
    return PathOf(name);
}

Folder Folder::Subfolder(std::string_view name) const
{
    const std::string part(name);
    const std::string path = PathOf(name);
    if (::mkdirat(descriptor_, part.c_str(), 0777) != 0 && errno != EEXIST)
        throw RuntimeError::SystemFailure(errno, "cannot create folder", path);
    const int descriptor = ::openat(descriptor_, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        if (HoldsLink(name))
            throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path,
                                                "it is a symbolic link, which is not followed");
        throw RuntimeError::SystemFailure(error, "cannot open folder", path);
    }
    return Folder(path, {}, descriptor, nullptr);
}

bool Folder::HoldsLink(std::string_view name) const
{
    struct stat status {};
    return ::fstatat(descriptor_, std::string(name).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
}

bool Folder::TryLock()
{
    while (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            throw RuntimeError::SystemFailure(errno, "cannot lock", path_);
    }
    return true;
}

void Folder::Lock()
{
    while (::flock(descriptor_, LOCK_EX) != 0)
        if (errno != EINTR)
            throw RuntimeError::SystemFailure(errno, "cannot lock", path_);
}

void Folder::RemoveStaleTemporaryFiles(const std::function<bool(std::string_view name)>& ours) const
{
    const int copy = ::openat(descriptor_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!folder) {
        if (copy >= 0)
            ::close(copy);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        struct stat status {};
        if (IsStaleTwin(entry->d_name, ours) &&
            ::fstatat(descriptor_, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(descriptor_, entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace quillmark
