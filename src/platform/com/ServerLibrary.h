#pragma once

#include "base/RuntimeError.h"
#include "platform/com/ClassFactory.h"

#include <string>

namespace quillmark::com {

// A library that cannot serve, missing, not loadable, or without the component exports: error
// 53, whose description names the file and the problem.
inline RuntimeError ServerLibraryError(const std::string& description)
{
    return RuntimeError(err::FileNotFound, description);
}

// The four entry points of an in-process component library.
using DllGetClassObjectFn = HResult (*)(const Guid* clsid, const Guid* iid, void** object);
using DllCanUnloadNowFn = HResult (*)();
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();

struct ServerLibrary {
    std::string path;
    void* handle = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
    DllRegisterServerFn registerServer = nullptr;
    DllUnregisterServerFn unregisterServer = nullptr;

    // Another exported symbol of the library, or nullptr.
    void* Symbol(const char* name) const;
};

// Loads the library at path once per process and keeps it loaded, as objects and their
// code may be in use anywhere. Throws ServerLibraryError naming the file and the problem.
const ServerLibrary& LoadServerLibrary(const std::string& path);

} // namespace quillmark::com
