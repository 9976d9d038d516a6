#pragma once

#include "platform/com/Dispatch.h"
#include "platform/com/Registry.h"

#include <string>

namespace quillmark::com {

// Creates the class registered under progid ("Quillmark.CMMTimer"): finds its class
// identifier and library in the registry, loads the library, asks its DllGetClassObject for
// the class factory and creates the object. Throws RuntimeError 429 whose description says
// which step failed, where, and what to do.
ComPtr<IUnknown> CreateObject(const std::string& progid, const Registry& registry);
ComPtr<IUnknown> CreateObject(const std::string& progid);

// Same, answering as the class's default dispatch interface.
ComPtr<IDispatch> CreateDispatchObject(const std::string& progid);

// Where the registry keeps classes: HKEY_CURRENT_USER\Software\Classes.
inline constexpr const char* ClassesRoot = "HKEY_CURRENT_USER\\Software\\Classes";

} // namespace quillmark::com
