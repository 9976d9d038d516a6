#pragma once

#include "platform/com/ClassFactory.h"
#include "platform/com/ServerObjects.h"

namespace quillmark::com {

// The stand-in run-time's types, for the objects and class factories both run-times share.
struct StandinRuntime {
    using Unknown = IUnknown;
    using ClassFactory = IClassFactory;
    using Iid = Guid;
    using Result = HResult;
    using Count = std::uint32_t;
    using LockFlag = bool;
    static constexpr const Guid& UnknownId = IID_IUnknown;
    static constexpr const Guid& ClassFactoryId = IID_IClassFactory;
    static constexpr HResult Ok = S_OK;
    static constexpr HResult StillInUse = S_FALSE;
    static constexpr HResult Pointer = E_POINTER;
    static constexpr HResult NoInterface = E_NOINTERFACE;
    static constexpr HResult OutOfMemory = E_OUTOFMEMORY;
    static constexpr HResult NoAggregation = CLASS_E_NOAGGREGATION;
    static constexpr HResult ClassNotAvailable = CLASS_E_CLASSNOTAVAILABLE;
};

// The base of every class of a library (see BasicComObject).
template <class Derived, class... Interfaces>
using ComObject = BasicComObject<StandinRuntime, Derived, Interfaces...>;

template <class T>
using ClassFactory = BasicClassFactory<StandinRuntime, T>;

// A new object of class T, as a counted reference to interface I.
template <class T, class I, class... Args>
ComPtr<I> MakeObject(Args&&... args)
{
    return ComPtr<I>(static_cast<I*>(new T(std::forward<Args>(args)...)));
}

} // namespace quillmark::com
