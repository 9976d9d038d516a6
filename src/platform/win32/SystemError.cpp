#include "platform/win32/SystemError.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <utility>

namespace quillmark::win32 {

std::string SystemErrorText(unsigned long code)
{
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text != nullptr ? Narrow(text) : "error " + std::to_string(code);
    if (text != nullptr)
        ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

std::int32_t SystemErrorNumber(unsigned long code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return err::FileNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return err::PermissionDenied;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return err::OutOfMemory;
    default: return err::PathFileAccess;
    }
}

RuntimeError SystemFailure(unsigned long code, std::string operation, std::string path)
{
    return RuntimeError::OperationFailed(SystemErrorNumber(code), std::move(operation), std::move(path),
                                         SystemErrorText(code));
}

} // namespace quillmark::win32
