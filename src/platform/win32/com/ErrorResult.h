#pragma once

#include "platform/win32/SystemHeaders.h"

namespace quillmark::win32 {

// The result code for the exception being handled, a RuntimeError or any other: its number as
// the language's error code (0x800A0000 + number), its description as this thread's error
// information for the interface iid, so that late-bound callers receive both.
HRESULT FailureResult(REFIID iid);

} // namespace quillmark::win32
