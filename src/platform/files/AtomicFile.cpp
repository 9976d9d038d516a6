#include "platform/files/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {
namespace {

std::runtime_error systemError(const std::string& what, const std::string& path)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

void writeAll(int fd, const std::string& text, const std::string& path)
{
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw systemError("cannot write", path);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

} // namespace

void WriteFileAtomically(const std::string& path, const std::string& text)
{
    const std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec)
            throw std::runtime_error("cannot create folder " + target.parent_path().string() + ": " + ec.message());
    }

    std::string temp = path + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw systemError("cannot create a temporary file next to", path);
    try {
        struct stat old {};
        ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600);
        writeAll(fd, text, temp);
        if (::fsync(fd) != 0)
            throw systemError("cannot flush", temp);
        if (::close(fd) != 0) {
            fd = -1;
            throw systemError("cannot close", temp);
        }
        fd = -1;
        if (::rename(temp.c_str(), path.c_str()) != 0)
            throw systemError("cannot replace", path);
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
}

FileText ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT)
            return {};
        throw systemError("cannot open", path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw systemError("cannot read", path);
    return {true, text.str()};
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
