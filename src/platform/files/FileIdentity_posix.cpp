#include "platform/files/FileIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {

namespace {

FileIdentity IdentityFrom(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return IdentityFrom(status);
}

std::optional<FileIdentity> StandardInputIdentity()
{
    struct stat status {};
    if (::fstat(STDIN_FILENO, &status) != 0)
        return std::nullopt;
    return IdentityFrom(status);
}

} // namespace quillmark
