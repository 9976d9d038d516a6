#include "platform/win32/com/TypeLibrary.h"

#include <wrl/client.h>

namespace quillmark::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// Loaded once, on first use, from resource 1 of this library.
ITypeLib* typeLibrary()
{
    static ComPtr<ITypeLib> library = [] {
        ComPtr<ITypeLib> loaded;
        ::LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, &loaded);
        return loaded;
    }();
    return library.Get();
}

HRESULT typeInfo(const GUID& iid, ITypeInfo** info)
{
    ITypeLib* library = typeLibrary();
    return library ? library->GetTypeInfoOfGuid(iid, info) : TYPE_E_CANTLOADLIBRARY;
}

} // namespace

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

HRESULT DispatchTypeInfo(const DualInterface& first, UINT index, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return typeInfo(first.iid, info);
}

HRESULT DispatchIDsOfNames(std::initializer_list<DualInterface> interfaces, LPOLESTR* names, UINT count, DISPID* ids)
{
    HRESULT hr = DISP_E_UNKNOWNNAME;
    for (const DualInterface& dual : interfaces) {
        ComPtr<ITypeInfo> info;
        hr = typeInfo(dual.iid, &info);
        if (FAILED(hr))
            return hr;
        hr = ::DispGetIDsOfNames(info.Get(), names, count, ids);
        if (hr != DISP_E_UNKNOWNNAME)
            return hr;
    }
    return hr;
}

HRESULT DispatchInvoke(std::initializer_list<DualInterface> interfaces, DISPID id, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* excep, UINT* argError)
{
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    for (const DualInterface& dual : interfaces) {
        ComPtr<ITypeInfo> info;
        hr = typeInfo(dual.iid, &info);
        if (FAILED(hr))
            return hr;
        hr = ::DispInvoke(dual.object, info.Get(), id, flags, params, result, excep, argError);
        if (hr != DISP_E_MEMBERNOTFOUND)
            return hr;
    }
    return hr;
}

} // namespace quillmark::win32
