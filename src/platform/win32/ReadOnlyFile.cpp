#include "platform/win32/ReadOnlyFile.h"

#include "base/PathText.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"

#include <algorithm>

namespace quillmark::win32 {
namespace {

RuntimeError ReadFailure(DWORD error, const std::string& path, const char* step)
{
    return RuntimeError(SystemErrorNumber(error), {path}, std::string(step) + ": " + SystemErrorText(error));
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path)
    : path_(Utf8FromPath(path)),
      handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (handle_ == INVALID_HANDLE_VALUE)
        throw ReadFailure(::GetLastError(), path_, "cannot open the file");
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_, &size)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(handle_);
        throw ReadFailure(error, path_, "cannot open the file");
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

ReadOnlyFile::~ReadOnlyFile()
{
    ::CloseHandle(handle_);
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, void* into, std::size_t size) const
{
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD read = 0;
        const DWORD step = static_cast<DWORD>(std::min<std::size_t>(size - done, 1 << 30));
        if (!::ReadFile(handle_, static_cast<char*>(into) + done, step, &read, &at)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            throw ReadFailure(error, path_, "cannot read the file");
        }
        if (read == 0)
            break;
        done += read;
    }
    return done;
}

} // namespace quillmark::win32
