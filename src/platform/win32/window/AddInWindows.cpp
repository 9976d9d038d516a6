#include "platform/win32/window/AddInWindows.h"

#include "codemodel/RuntimeError.h"

namespace quillmark::win32 {

std::unique_ptr<AddInWindow> CreateAddInWindow()
{
    // The Win32 converter window comes with the window's handlers over control interfaces.
    throw RuntimeError(err::ObjectRequired);
}

} // namespace quillmark::win32
