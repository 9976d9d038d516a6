#include "platform/win32/FileVersion.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <vector>

namespace quillmark::win32 {
namespace {

std::string Numbers(DWORD high, DWORD low)
{
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
           std::to_string(LOWORD(low));
}

} // namespace

std::string FileVersionText(const std::filesystem::path& file)
{
    const std::string shown = Utf8FromPath(file);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        throw SystemFailure(::GetLastError(), "cannot read the version information of", shown);
    std::vector<unsigned char> data(size);
    if (!::GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        throw SystemFailure(::GetLastError(), "cannot read the version information of", shown);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed)
        throw RuntimeError::OperationFailed(err::BadFileFormat, "cannot read the version information of", shown,
                                            "it has no fixed part");
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < sizeof *translation)
        throw RuntimeError::OperationFailed(err::BadFileFormat, "cannot read the version information of", shown,
                                            "it names no language");
    const std::wstring block =
        Widen("\\StringFileInfo\\" + HexDigits(translation->language, 4) + HexDigits(translation->codePage, 4) + "\\");
    // An empty text for a value that is missing; nothing at all when missing is what it says.
    const auto value = [&](const char* name, bool* present = nullptr) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const bool found =
            ::VerQueryValueW(data.data(), (block + Widen(name)).c_str(), reinterpret_cast<void**>(&text), &chars);
        if (present)
            *present = found;
        return found && text ? Narrow(std::wstring_view(text, chars > 0 ? chars - 1 : 0)) : std::string();
    };
    std::string out;
    out += "ProductName: " + value("ProductName") + "\n";
    out += "ProductVersion: " + value("ProductVersion") + " (" +
           Numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS) + ")\n";
    out +=
        "FileVersion: " + value("FileVersion") + " (" + Numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + ")\n";
    out += "FileDescription: " + value("FileDescription") + "\n";
    out += "InternalName: " + value("InternalName") + "\n";
    out += "OriginalFilename: " + value("OriginalFilename") + "\n";
    out += "Language: " + HexDigits(translation->language, 4) + "\n";
    bool selfRegister = false;
    value("OLESelfRegister", &selfRegister);
    if (selfRegister)
        out += "OLESelfRegister\n";
    return out;
}

} // namespace quillmark::win32
