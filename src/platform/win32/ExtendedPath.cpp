#include "platform/win32/ExtendedPath.h"

#include "platform/win32/SystemHeaders.h"

namespace quillmark::win32 {

std::wstring ExtendedPath(const std::filesystem::path& path)
{
    const std::wstring& given = path.native();
    if (given.starts_with(LR"(\\?\)") || given.starts_with(LR"(\\.\)"))
        return given;
    // The full path name also resolves "." and "..", which the extended form passes as names.
    std::wstring full(given.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return given;
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

} // namespace quillmark::win32
