#include "platform/files/OutputFile.h"

#include "base/RuntimeError.h"
#include "platform/files/TemporaryFiles.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

RuntimeError WriteError(const std::string& path, int error = errno)
{
    return RuntimeError::SystemFailure(error, "cannot write", path);
}

// The file that path names once its symbolic links are followed, as open() follows them; path
// itself when it is no link. The file need not exist.
std::string LinkTarget(const std::string& path)
{
    constexpr int kMaxLinks = 40; // as the system allows
    fs::path file = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return file.string();
        if (links == kMaxLinks)
            throw WriteError(path, ELOOP);
        std::error_code ec;
        const fs::path target = fs::read_symlink(file, ec);
        if (ec)
            throw WriteError(path, ec.value());
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
}

} // namespace

OutputFileWriter::OutputFileWriter(const std::string& path) : path_(path)
{
    struct stat named {};
    const bool exists = ::stat(path.c_str(), &named) == 0;
    if (!exists && errno != ENOENT)
        throw WriteError(path);
    if (exists && S_ISDIR(named.st_mode))
        throw WriteError(path, EISDIR);
    if (exists && !S_ISREG(named.st_mode)) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0)
            throw WriteError(path);
        return;
    }
    const std::string target = LinkTarget(path);
    // A /proc link still names a file that has been removed; its folder holds it no more.
    struct stat found {};
    if (exists && (::stat(target.c_str(), &found) != 0 || found.st_dev != named.st_dev || found.st_ino != named.st_ino))
        throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path,
                                            "the file is no longer in a folder");
    const fs::path file(target);
    const std::string name = file.filename().string();
    RemoveStaleTemporaryFiles(file.has_parent_path() ? file.parent_path() : fs::path("."),
                              [&name](std::string_view twinOf) { return twinOf == name; });
    replaced_.emplace(target, NewFileAccess::Shared);
}

OutputFileWriter::~OutputFileWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void OutputFileWriter::Write(std::string_view text)
{
    if (replaced_) {
        replaced_->Write(text);
        return;
    }
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw WriteError(path_);
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

void OutputFileWriter::Commit()
{
    if (replaced_) {
        replaced_->Commit();
        return;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw WriteError(path_);
}

} // namespace quillmark
