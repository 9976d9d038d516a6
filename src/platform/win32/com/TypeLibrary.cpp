#include "platform/win32/com/TypeLibrary.h"

#include <wrl/client.h>

namespace quillmark::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// Loaded once, on first use, from resource 1 of this library.
ITypeLib* TypeLibraryOfThisModule()
{
    static ComPtr<ITypeLib> library = [] {
        ComPtr<ITypeLib> loaded;
        ::LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, &loaded);
        return loaded;
    }();
    return library.Get();
}

} // namespace

HRESULT DualTypeInfo(const GUID& iid, ITypeInfo** info)
{
    ITypeLib* library = TypeLibraryOfThisModule();
    return library ? library->GetTypeInfoOfGuid(iid, info) : TYPE_E_CANTLOADLIBRARY;
}

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::wstring ThisModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace quillmark::win32
