// Folders on Windows: each held open without leave to rename or remove it, so that its final
// path leads to it while the site is written; a reparse point (a junction, a symbolic link) is
// never opened as a folder of ours.

#include "platform/files/Folder.h"

#include "base/PathText.h"
#include "base/ShortName.h"
#include "platform/files/TemporaryFiles.h"

#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <utility>

namespace quillmark {
namespace {

HANDLE OpenFolder(const std::filesystem::path& path, DWORD flags)
{
    return ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

DWORD AttributesOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information{};
    return ::GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes : 0;
}

std::string FinalPath(HANDLE handle, const std::string& path)
{
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()), 0);
        if (length == 0)
            throw win32::SystemFailure(::GetLastError(), "cannot open folder", path);
        if (length < final.size()) {
            final.resize(length);
            return Utf8FromPath(final);
        }
        final.resize(length);
    }
}

// The mutex that stands for the folder at its final path; the system releases it when the
// process that holds it ends.
HANDLE FolderMutex(const std::string& systemPath, const std::string& path)
{
    const std::wstring name = L"Local\\quillmark-site-" + win32::Widen(NameHash(systemPath).substr(1));
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        throw win32::SystemFailure(::GetLastError(), "cannot lock", path);
    return mutex;
}

} // namespace

Folder::Folder(const std::string& path) : path_(path)
{
    HANDLE handle = OpenFolder(PathFromUtf8(path), 0);
    if (handle == INVALID_HANDLE_VALUE)
        throw win32::SystemFailure(::GetLastError(), "cannot open folder", path);
    handle_ = handle;
    if (!(AttributesOf(handle) & FILE_ATTRIBUTE_DIRECTORY))
        throw win32::SystemFailure(ERROR_DIRECTORY, "cannot open folder", path);
    systemPath_ = FinalPath(handle, path);
}

Folder::Folder(std::string path, std::string systemPath, int, void* handle)
    : path_(std::move(path)), systemPath_(std::move(systemPath)), handle_(handle)
{}

Folder::Folder(Folder&& other) noexcept
    : path_(std::move(other.path_)), systemPath_(std::move(other.systemPath_)),
      handle_(std::exchange(other.handle_, nullptr))
{}

Folder::~Folder()
{
    if (handle_)
        ::CloseHandle(handle_);
}

std::string Folder::PathOf(std::string_view name) const
{
    return path_ + (path_.ends_with('\\') || path_.ends_with('/') ? "" : "\\") + std::string(name);
}

std::string Folder::SystemPathOf(std::string_view name) const
{
    return systemPath_ + "\\" + std::string(name);
}

Folder Folder::Subfolder(std::string_view name) const
{
    const std::string path = PathOf(name);
    const std::filesystem::path made = PathFromUtf8(SystemPathOf(name));
    if (!::CreateDirectoryW(made.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        throw win32::SystemFailure(::GetLastError(), "cannot create folder", path);
    HANDLE handle = OpenFolder(made, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE)
        throw win32::SystemFailure(::GetLastError(), "cannot open folder", path);
    Folder folder(path, Utf8FromPath(made), -1, handle);
    const DWORD attributes = AttributesOf(handle);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", path,
                                            "it is a symbolic link, which is not followed");
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw win32::SystemFailure(ERROR_DIRECTORY, "cannot open folder", path);
    return folder;
}

bool Folder::HoldsLink(std::string_view name) const
{
    const DWORD attributes = ::GetFileAttributesW(PathFromUtf8(SystemPathOf(name)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Folder::TryLock()
{
    HANDLE mutex = FolderMutex(systemPath_, path_);
    const DWORD waited = ::WaitForSingleObject(mutex, 0);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return true; // held until the process ends
    ::CloseHandle(mutex);
    return false;
}

void Folder::Lock()
{
    HANDLE mutex = FolderMutex(systemPath_, path_);
    if (::WaitForSingleObject(mutex, INFINITE) == WAIT_FAILED)
        throw win32::SystemFailure(::GetLastError(), "cannot lock", path_);
}

void Folder::RemoveStaleTemporaryFiles(const std::function<bool(std::string_view name)>& ours) const
{
    quillmark::RemoveStaleTemporaryFiles(PathFromUtf8(systemPath_), ours);
}

} // namespace quillmark
