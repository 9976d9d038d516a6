#include "platform/win32/SystemError.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

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

} // namespace quillmark::win32
