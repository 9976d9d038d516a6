#include "platform/files/AtomicFile.h"

#include "base/RuntimeError.h"
#include "platform/files/Folder.h"
#include "platform/files/TemporaryFiles.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {
namespace {

RuntimeError SystemError(const char* operation, const std::string& path)
{
    return RuntimeError::SystemFailure(errno, operation, path);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, NewFileAccess access, Durability durability)
    : path_(path), name_(std::move(path)), folder_(AT_FDCWD), durability_(durability)
{
    Create(access);
}

AtomicFileWriter::AtomicFileWriter(const Folder& folder, const std::string& name, NewFileAccess access,
                                   Durability durability)
    : path_(folder.PathOf(name)), name_(name), folder_(folder.Descriptor()), durability_(durability)
{
    Create(access);
}

void AtomicFileWriter::Create(NewFileAccess access)
{
    fd_ = CreateTemporaryFileIn(folder_, name_, access == NewFileAccess::Shared ? 0666 : 0600, temp_);
    if (fd_ < 0)
        throw SystemError("cannot write", path_);
    if (struct stat old{}; ::fstatat(folder_, name_.c_str(), &old, 0) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (committed_)
        return;
    if (fd_ >= 0)
        ::close(fd_);
    ::unlinkat(folder_, temp_.c_str(), 0);
    ForgetTemporaryFile(temp_);
}

void AtomicFileWriter::Write(std::string_view text)
{
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw SystemError("cannot write", path_);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::Commit()
{
    if (durability_ == Durability::Synced && ::fsync(fd_) != 0)
        throw SystemError("cannot write", path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw SystemError("cannot write", path_);
    if (::renameat(folder_, temp_.c_str(), folder_, name_.c_str()) != 0)
        throw SystemError("cannot replace", path_);
    committed_ = true;
    ForgetTemporaryFile(temp_);
}

void WriteFileAtomically(const std::string& path, const std::string& text, NewFileAccess access, Durability durability)
{
    AtomicFileWriter file(path, access, durability);
    file.Write(text);
    file.Commit();
}

void CreateParentFolders(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (ec)
        throw RuntimeError::OperationFailed(SystemErrorNumber(ec.value()), "cannot create folder", parent.string(),
                                            ec.message());
}

std::string ConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config";
}

} // namespace quillmark
