#pragma once

#include "platform/com/Guid.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/com/ComObject.h"

#include <wrl/client.h>

#include <optional>
#include <string>

namespace quillmark::win32 {

inline GUID SystemGuid(const com::Guid& id)
{
    static_assert(sizeof(GUID) == sizeof(com::Guid));
    GUID g;
    g.Data1 = id.data1;
    g.Data2 = id.data2;
    g.Data3 = id.data3;
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = id.data4[i];
    return g;
}

// This library's file.
HMODULE ThisModule();
std::wstring ThisModulePath();

// One dual interface of an object: its identifier and the object's pointer for it.
struct DualInterface {
    GUID iid;
    void* object;
};

// The type information of a dual interface, from the type library embedded in this library.
HRESULT DualTypeInfo(const GUID& iid, ITypeInfo** info);

// A class whose IDispatch serves its dual interfaces from the type library: names and calls go
// to the first interface that has them, so their dispatch ids must not overlap. Derived lists
// them, its default interface first, with
//     std::array<DualInterface, N> DualInterfaces()
template <class Derived, class... Interfaces>
class DualDispatch : public ComObject<Derived, Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        return index == 0 ? DualTypeInfo(self().DualInterfaces()[0].iid, info) : DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return FirstAnswer(
            [&](ITypeInfo* info, const DualInterface&) {
                const HRESULT hr = ::DispGetIDsOfNames(info, names, count, ids);
                return hr == DISP_E_UNKNOWNNAME ? std::optional<HRESULT>() : hr;
            },
            DISP_E_UNKNOWNNAME);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argError) override
    {
        return FirstAnswer(
            [&](ITypeInfo* info, const DualInterface& dual) {
                const HRESULT hr = ::DispInvoke(dual.object, info, id, flags, params, result, excep, argError);
                return hr == DISP_E_MEMBERNOTFOUND ? std::optional<HRESULT>() : hr;
            },
            DISP_E_MEMBERNOTFOUND);
    }

private:
    Derived& self() { return *static_cast<Derived*>(this); }

    // The first answer of ask over the interfaces, or none when no interface has one.
    template <class Ask>
    HRESULT FirstAnswer(Ask ask, HRESULT none)
    {
        for (const DualInterface& dual : self().DualInterfaces()) {
            Microsoft::WRL::ComPtr<ITypeInfo> info;
            if (const HRESULT hr = DualTypeInfo(dual.iid, &info); FAILED(hr))
                return hr;
            if (const std::optional<HRESULT> answer = ask(info.Get(), dual))
                return *answer;
        }
        return none;
    }
};

} // namespace quillmark::win32
