#pragma once

#include "addin/AddIn.h"

#include <memory>

namespace quillmark::win32 {

// A new converter window for the add-in, not yet loaded.
std::unique_ptr<AddInWindow> CreateAddInWindow();

} // namespace quillmark::win32
