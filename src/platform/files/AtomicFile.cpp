#include "platform/files/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {
namespace {

std::runtime_error SystemError(const std::string& what, const std::string& path)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, NewFileAccess access, Durability durability)
    : path_(std::move(path)), durability_(durability)
{
    const std::filesystem::path target(path_);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec)
            throw std::runtime_error("cannot create folder " + target.parent_path().string() + ": " + ec.message());
    }
    // open() applies the umask to a shared file's mode, which mkstemp would not.
    static std::atomic<unsigned> serial{0};
    const mode_t mode = access == NewFileAccess::Shared ? 0666 : 0600;
    do {
        temp_ = path_ + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd_ < 0 && errno == EEXIST);
    if (fd_ < 0)
        throw SystemError("cannot create a temporary file next to", path_);
    if (struct stat old{}; ::stat(path_.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (committed_)
        return;
    if (fd_ >= 0)
        ::close(fd_);
    ::unlink(temp_.c_str());
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
            throw SystemError("cannot write", temp_);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::Commit()
{
    if (durability_ == Durability::Synced && ::fsync(fd_) != 0)
        throw SystemError("cannot flush", temp_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw SystemError("cannot close", temp_);
    if (::rename(temp_.c_str(), path_.c_str()) != 0)
        throw SystemError("cannot replace", path_);
    committed_ = true;
}

void WriteFileAtomically(const std::string& path, const std::string& text, NewFileAccess access, Durability durability)
{
    AtomicFileWriter file(path, access, durability);
    file.Write(text);
    file.Commit();
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
