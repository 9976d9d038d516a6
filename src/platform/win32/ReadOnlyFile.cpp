#include "platform/win32/ReadOnlyFile.h"

#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"

#include <algorithm>
#include <stdexcept>

namespace quillmark::win32 {

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (handle_ == INVALID_HANDLE_VALUE)
        throw std::runtime_error(SystemErrorText(::GetLastError()));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_, &size)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(handle_);
        throw std::runtime_error(SystemErrorText(error));
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
            throw std::runtime_error(SystemErrorText(error));
        }
        if (read == 0)
            break;
        done += read;
    }
    return done;
}

} // namespace quillmark::win32
