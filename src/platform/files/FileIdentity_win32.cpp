#include "platform/files/FileIdentity.h"

#include "platform/win32/SystemHeaders.h"

#include <io.h>

namespace quillmark {

namespace {

std::optional<FileIdentity> IdentityOfHandle(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (file == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(file, &information))
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        static_cast<std::uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow};
}

} // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path)
{
    // No access asked: only what the file is, whoever has it open.
    const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const std::optional<FileIdentity> identity = IdentityOfHandle(file);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    return identity;
}

std::optional<FileIdentity> StandardInputIdentity()
{
    return IdentityOfHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(0)));
}

} // namespace quillmark
