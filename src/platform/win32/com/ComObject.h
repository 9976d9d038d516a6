#pragma once

#include "platform/com/ServerObjects.h"
#include "platform/win32/SystemHeaders.h"

namespace quillmark::win32 {

// Windows' own types, for the objects and class factories both run-times share.
struct SystemRuntime {
    using Unknown = IUnknown;
    using ClassFactory = IClassFactory;
    using Iid = GUID;
    using Result = HRESULT;
    using Count = ULONG;
    using LockFlag = BOOL;
    static inline const GUID& UnknownId = IID_IUnknown;
    static inline const GUID& ClassFactoryId = IID_IClassFactory;
    static constexpr HRESULT Ok = S_OK;
    static constexpr HRESULT StillInUse = S_FALSE;
    static constexpr HRESULT Pointer = E_POINTER;
    static constexpr HRESULT NoInterface = E_NOINTERFACE;
    static constexpr HRESULT OutOfMemory = E_OUTOFMEMORY;
    static constexpr HRESULT NoAggregation = CLASS_E_NOAGGREGATION;
    static constexpr HRESULT ClassNotAvailable = CLASS_E_CLASSNOTAVAILABLE;
};

// The base of every class of the library (see com::BasicComObject).
template <class Derived, class... Interfaces>
using ComObject = com::BasicComObject<SystemRuntime, Derived, Interfaces...>;

} // namespace quillmark::win32
