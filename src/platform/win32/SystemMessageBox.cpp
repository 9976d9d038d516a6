#include "platform/win32/SystemMessageBox.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

namespace quillmark::win32 {

void SystemMessageBox::Show(const std::string& text, const std::string& title)
{
    ::MessageBoxW(::GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

} // namespace quillmark::win32
