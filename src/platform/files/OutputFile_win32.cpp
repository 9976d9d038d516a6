// The file that -o names, on Windows.

#include "platform/files/OutputFile.h"

#include "base/PathText.h"
#include "base/ShortName.h"
#include "platform/files/TemporaryFiles.h"

#include "platform/win32/StandardStreams.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <io.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

RuntimeError WriteError(const std::string& path, DWORD error = ::GetLastError())
{
    return win32::SystemFailure(error, "cannot write", path);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

private:
    HANDLE handle_;
};

// Where the file open as file lies, as the system names it, whatever links and junctions led
// there.
std::wstring FinalPath(HANDLE file, const std::string& path)
{
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
        if (length == 0)
            throw WriteError(path);
        if (length < final.size()) {
            final.resize(length);
            return final;
        }
        final.resize(length);
    }
}

// A copy of the standard handle open on the file that information describes, which a write goes
// through at its own position, as cmd's ">>" wants; nothing when no standard handle is.
HANDLE StandardHandleOn(const BY_HANDLE_FILE_INFORMATION& file)
{
    for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE standard = ::GetStdHandle(which);
        BY_HANDLE_FILE_INFORMATION information{};
        if (standard == INVALID_HANDLE_VALUE || standard == nullptr || ::GetFileType(standard) != FILE_TYPE_DISK ||
            !::GetFileInformationByHandle(standard, &information) ||
            information.dwVolumeSerialNumber != file.dwVolumeSerialNumber ||
            information.nFileIndexHigh != file.nFileIndexHigh || information.nFileIndexLow != file.nFileIndexLow)
            continue;
        HANDLE copy = INVALID_HANDLE_VALUE;
        if (::DuplicateHandle(::GetCurrentProcess(), standard, ::GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS))
            return copy;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

OutputFileWriter::OutputFileWriter(const std::string& path) : path_(path)
{
    const fs::path named = PathFromUtf8(path);
    // Opened only to learn what it is: a device (NUL, CON, a pipe) is written into, a folder
    // refused, anything else replaced.
    Handle probe(::CreateFileW(named.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    fs::path target = named;
    if (probe.Get() == INVALID_HANDLE_VALUE) {
        if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND)
            throw WriteError(path, error);
    } else if (const DWORD type = ::GetFileType(probe.Get()); type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        Handle device(::CreateFileW(named.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        if (device.Get() == INVALID_HANDLE_VALUE)
            throw WriteError(path);
        fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(device.Get()), _O_WRONLY | _O_BINARY);
        if (fd_ < 0)
            throw WriteError(path, ERROR_TOO_MANY_OPEN_FILES);
        device.Release();
        return;
    } else {
        BY_HANDLE_FILE_INFORMATION information{};
        if (!::GetFileInformationByHandle(probe.Get(), &information))
            throw WriteError(path);
        if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            throw RuntimeError::SystemFailure(EISDIR, "cannot write", path);
        if (Handle standard(StandardHandleOn(information)); standard.Get() != INVALID_HANDLE_VALUE) {
            fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(standard.Get()), _O_WRONLY | _O_BINARY);
            if (fd_ < 0)
                throw WriteError(path, ERROR_TOO_MANY_OPEN_FILES);
            standard.Release();
            return;
        }
        if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path, "the file is read-only");
        // Replaced in its own folder: a link that led there is kept.
        target = FinalPath(probe.Get(), path);
    }
    const std::string name = Utf8FromPath(target.filename());
    RemoveStaleTemporaryFiles(target.has_parent_path() ? target.parent_path() : fs::path("."),
                              [&name](std::string_view twinOf) { return IsShortNameOf(twinOf, name); });
    replaced_.emplace(Utf8FromPath(target), NewFileAccess::Shared);
}

OutputFileWriter::~OutputFileWriter()
{
    if (fd_ >= 0)
        ::_close(fd_);
}

void OutputFileWriter::Write(std::string_view text)
{
    if (replaced_) {
        replaced_->Write(text);
        return;
    }
    // Written as to standard output: a console (CON) shows Japanese whatever its code page.
    if (const int error = win32::WriteText(fd_, text))
        throw RuntimeError::SystemFailure(error, "cannot write", path_);
}

void OutputFileWriter::Commit()
{
    if (replaced_) {
        replaced_->Commit();
        return;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::_close(fd) != 0)
        throw WriteError(path_);
}

} // namespace quillmark
