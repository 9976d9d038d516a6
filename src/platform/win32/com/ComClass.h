#pragma once

#include "platform/win32/SystemHeaders.h"

#include <atomic>
#include <new>

namespace quillmark::win32 {

// Objects and server locks alive in this library; DllCanUnloadNow answers from it.
std::atomic<long>& LiveObjects();

// The reference counting of every class of the library. Derived implements
//     void* Interface(REFIID iid)
// returning the right base pointer for each interface it offers (IID_IUnknown included), or
// nullptr; objects are created with new and start with no reference.
template <class Derived, class... Interfaces>
class ComClass : public Interfaces... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = static_cast<Derived*>(this)->Interface(iid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --count_;
        if (left == 0)
            delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComClass() { ++LiveObjects(); }
    virtual ~ComClass() { --LiveObjects(); }
    ComClass(const ComClass&) = delete;
    ComClass& operator=(const ComClass&) = delete;

private:
    std::atomic<ULONG> count_{0};
};

// The factory of class T, whose constructor takes no argument. No aggregation.
template <class T>
class ClassFactory final : public ComClass<ClassFactory<T>, IClassFactory> {
public:
    void* Interface(REFIID iid)
    {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
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
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? ++LiveObjects() : --LiveObjects();
        return S_OK;
    }
};

} // namespace quillmark::win32
