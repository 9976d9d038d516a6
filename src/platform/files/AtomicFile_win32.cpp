// Files replaced whole on Windows: written beside the file, then moved over it.

#include "platform/files/AtomicFile.h"

#include "base/PathText.h"
#include "platform/files/Folder.h"
#include "platform/files/TemporaryFiles.h"

#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"

#include <algorithm>

#include <io.h>

namespace quillmark {
namespace {

RuntimeError SystemError(const char* operation, const std::string& path)
{
    return win32::SystemFailure(::GetLastError(), operation, path);
}

HANDLE Handle(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

} // namespace

// A new file takes the permissions its folder gives; the system has no umask to follow.
AtomicFileWriter::AtomicFileWriter(std::string path, NewFileAccess, Durability durability)
    : path_(path), name_(std::move(path)), durability_(durability)
{
    fd_ = CreateTemporaryFile(name_, 0, temp_);
    if (fd_ < 0)
        throw SystemError("cannot write", path_);
}

// The folder is held open without leave to rename it: its path leads to it while the file is
// written.
AtomicFileWriter::AtomicFileWriter(const Folder& folder, const std::string& name, NewFileAccess access,
                                   Durability durability)
    : AtomicFileWriter(folder.SystemPathOf(name), access, durability)
{
    path_ = folder.PathOf(name);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (committed_)
        return;
    if (fd_ >= 0)
        ::_close(fd_);
    ::DeleteFileW(PathFromUtf8(temp_).c_str());
    ForgetTemporaryFile(temp_);
}

void AtomicFileWriter::Write(std::string_view text)
{
    while (!text.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 30));
        if (!::WriteFile(Handle(fd_), text.data(), size, &written, nullptr))
            throw SystemError("cannot write", path_);
        text.remove_prefix(written);
    }
}

void AtomicFileWriter::Commit()
{
    if (durability_ == Durability::Synced && !::FlushFileBuffers(Handle(fd_)))
        throw SystemError("cannot write", path_);
    const int fd = fd_;
    fd_ = -1;
    if (::_close(fd) != 0)
        throw SystemError("cannot write", path_);
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durability_ == Durability::Synced ? MOVEFILE_WRITE_THROUGH : 0);
    if (!::MoveFileExW(PathFromUtf8(temp_).c_str(), PathFromUtf8(name_).c_str(), flags))
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

} // namespace quillmark
