#pragma once

#include <string>

namespace quillmark::win32 {

// The system's text for an error code of GetLastError or an HRESULT, in the user's language,
// as UTF-8 and without the line break the system ends it with.
std::string SystemErrorText(unsigned long code);

} // namespace quillmark::win32
