#include "platform/win32/window/AddInWindows.h"

#include "platform/win32/window/frmAddIn.h"

namespace quillmark::win32 {

std::unique_ptr<AddInWindow> CreateAddInWindow()
{
    return std::make_unique<frmAddIn>();
}

} // namespace quillmark::win32
