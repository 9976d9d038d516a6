#pragma once

#include "base/RuntimeError.h"

#include <cstdint>
#include <string>

namespace quillmark::win32 {

// The system's text for an error code of GetLastError or an HRESULT, in the user's language,
// as UTF-8 and without the line break the system ends it with.
std::string SystemErrorText(unsigned long code);

// The run-time error number of a failure the system reports with code (GetLastError), as
// SystemErrorNumber tells one of an errno value.
std::int32_t SystemErrorNumber(unsigned long code);

// A step on a file that the system refused with code: "OPERATION PATH: REASON", as
// RuntimeError::SystemFailure tells one that an errno value refused.
RuntimeError SystemFailure(unsigned long code, std::string operation, std::string path);

} // namespace quillmark::win32
