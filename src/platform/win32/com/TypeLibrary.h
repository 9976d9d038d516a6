#pragma once

#include "platform/com/Guid.h"
#include "platform/win32/SystemHeaders.h"

#include <initializer_list>
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

// The IDispatch side of dual interfaces, answered from the type library embedded in this
// library: names and calls go to the first interface that has them, so the interfaces'
// dispatch ids must not overlap.
HRESULT DispatchTypeInfo(const DualInterface& first, UINT index, ITypeInfo** info);
HRESULT DispatchIDsOfNames(std::initializer_list<DualInterface> interfaces, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT DispatchInvoke(std::initializer_list<DualInterface> interfaces, DISPID id, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* excep, UINT* argError);

} // namespace quillmark::win32
