#include "platform/files/OutputFile.h"

#include "base/RuntimeError.h"
#include "base/ShortName.h"
#include "platform/files/TemporaryFiles.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <vector>

#include <dirent.h>
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

// The number in a name of a descriptor ("/dev/fd/N", "/proc/self/fd/N", /dev/stdout's 1); -1 for
// any other name.
int DescriptorNamed(std::string_view path)
{
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(folder))
            continue;
        path.remove_prefix(folder.size());
        int number = -1;
        const auto [end, error] = std::from_chars(path.data(), path.data() + path.size(), number);
        return error == std::errc() && end == path.data() + path.size() ? number : -1;
    }
    return -1;
}

// A descriptor of this process open for writing on the file that named describes, copied, which
// a write goes through at the descriptor's own offset, as the shell's ">>" or "{ ...; } >" wants;
// the one that path names when it names one. -1 when the process has it open nowhere.
int OpenDescriptorOf(const std::string& path, const struct stat& named)
{
    std::vector<int> open;
    for (const char* list : {"/proc/self/fd", "/dev/fd"}) {
        DIR* folder = ::opendir(list);
        if (!folder)
            continue;
        while (const dirent* entry = ::readdir(folder)) {
            int number = -1;
            const std::string_view name = entry->d_name;
            if (std::from_chars(name.data(), name.data() + name.size(), number).ec == std::errc() &&
                number != ::dirfd(folder))
                open.push_back(number);
        }
        ::closedir(folder);
        break;
    }
    const int namedNumber = DescriptorNamed(path);
    std::stable_partition(open.begin(), open.end(), [&](int number) { return number == namedNumber; });
    bool readOnly = false;
    for (const int number : open) {
        struct stat status {};
        if (::fstat(number, &status) != 0 || status.st_dev != named.st_dev || status.st_ino != named.st_ino)
            continue;
        const int flags = ::fcntl(number, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
            readOnly = true;
            continue;
        }
        const int copy = ::fcntl(number, F_DUPFD_CLOEXEC, 0);
        if (copy < 0)
            throw WriteError(path);
        return copy;
    }
    // A regular file that the shell opened for reading only (< page.html) stays as the shell
    // reads it; a device that standard input reads (< /dev/null) is opened anew.
    if (readOnly && S_ISREG(named.st_mode))
        throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path,
                                            "it is open for reading only");
    return -1;
}

// A file the user marked read-only (no write permission for its owner, or none for us) is never
// replaced: renaming over it needs only its folder's permission. The owner's bit is read too,
// since access() lets the superuser write anything.
void RefuseReadOnly(const std::string& path, const struct stat& file)
{
    if ((file.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0)
        throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path, "the file is read-only");
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
    if (exists && (fd_ = OpenDescriptorOf(path, named)) >= 0)
        return;
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
    if (exists)
        RefuseReadOnly(path, named);
    const fs::path file(target);
    const std::string name = file.filename().string();
    RemoveStaleTemporaryFiles(file.has_parent_path() ? file.parent_path() : fs::path("."),
                              [&name](std::string_view twinOf) { return IsShortNameOf(twinOf, name); });
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
