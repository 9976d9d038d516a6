#pragma once

#include "platform/com/ComObject.h"

#include <new>

namespace quillmark::com {

inline constexpr Guid IID_IClassFactory = MakeGuid("00000001-0000-0000-C000-000000000046");

// Creates the objects of one class; DllGetClassObject hands it out.
class IClassFactory : public IUnknown {
public:
    virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    virtual HResult LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The factory of class T, whose constructor takes no argument. No aggregation.
template <class T>
class ClassFactory final : public ComObject<ClassFactory<T>, IClassFactory> {
public:
    void* Interface(const Guid& iid)
    {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }

    HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        T* created = new (std::nothrow) T();
        if (!created)
            return E_OUTOFMEMORY;
        created->AddRef();
        const HResult hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }

    HResult LockServer(bool lock) override
    {
        lock ? ++LiveObjects() : --LiveObjects();
        return S_OK;
    }
};

} // namespace quillmark::com
