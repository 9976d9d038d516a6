#pragma once

// What the objects of an in-process component library share on either run-time, the Linux
// stand-in and Windows' own: counted references, QueryInterface over the interfaces a class
// offers, the class factory, the class objects of DllGetClassObject, and the count of live
// objects and server locks that DllCanUnloadNow answers from. A run-time names its types:
//
//     struct Runtime {
//         using Unknown = ...;       // IUnknown
//         using ClassFactory = ...;  // IClassFactory
//         using Iid = ...;           // an interface or class identifier
//         using Result = ...;        // a result code
//         using Count = ...;         // what AddRef and Release return
//         using LockFlag = ...;      // LockServer's argument
//         static const Iid& UnknownId, ClassFactoryId;
//         static constexpr Result Ok, StillInUse, Pointer, NoInterface, OutOfMemory, NoAggregation,
//                                 ClassNotAvailable;
//     };

#include <array>
#include <atomic>
#include <cstddef>
#include <new>

// The calling convention of component interfaces: the system's where it has one.
#ifdef _WIN32
#define QUILLMARK_COM_CALL __stdcall
#else
#define QUILLMARK_COM_CALL
#endif

namespace quillmark::com {

// Objects and server locks alive in this library. Each library that links this layer has its
// own count.
std::atomic<long>& LiveObjects();

// The reference counting of every class of a library. Derived implements
//     void* Interface(const Runtime::Iid& iid)
// returning the right base pointer for each interface it offers (the run-time's IUnknown
// included), or nullptr; objects are created with new and start with no reference.
template <class Runtime, class Derived, class... Interfaces>
class BasicComObject : public Interfaces... {
public:
    typename Runtime::Result QUILLMARK_COM_CALL QueryInterface(const typename Runtime::Iid& iid, void** object) override
    {
        if (!object)
            return Runtime::Pointer;
        *object = static_cast<Derived*>(this)->Interface(iid);
        if (!*object)
            return Runtime::NoInterface;
        AddRef();
        return Runtime::Ok;
    }
    typename Runtime::Count QUILLMARK_COM_CALL AddRef() override { return ++count_; }
    typename Runtime::Count QUILLMARK_COM_CALL Release() override
    {
        const typename Runtime::Count left = --count_;
        if (left == 0)
            delete static_cast<Derived*>(this);
        return left;
    }

protected:
    BasicComObject() { ++LiveObjects(); }
    virtual ~BasicComObject() { --LiveObjects(); }
    BasicComObject(const BasicComObject&) = delete;
    BasicComObject& operator=(const BasicComObject&) = delete;

private:
    std::atomic<typename Runtime::Count> count_{0};
};

// A new object of class T, whose constructor takes no argument, as its interface iid.
template <class Runtime, class T>
typename Runtime::Result NewObject(const typename Runtime::Iid& iid, void** object)
{
    T* created = new (std::nothrow) T();
    if (!created)
        return Runtime::OutOfMemory;
    created->AddRef();
    const typename Runtime::Result hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

// The factory of class T. No aggregation.
template <class Runtime, class T>
class BasicClassFactory final
    : public BasicComObject<Runtime, BasicClassFactory<Runtime, T>, typename Runtime::ClassFactory> {
public:
    void* Interface(const typename Runtime::Iid& iid)
    {
        return iid == Runtime::UnknownId || iid == Runtime::ClassFactoryId
                   ? static_cast<typename Runtime::ClassFactory*>(this)
                   : nullptr;
    }

    typename Runtime::Result QUILLMARK_COM_CALL CreateInstance(typename Runtime::Unknown* outer,
                                                               const typename Runtime::Iid& iid, void** object) override
    {
        if (!object)
            return Runtime::Pointer;
        *object = nullptr;
        if (outer)
            return Runtime::NoAggregation;
        return NewObject<Runtime, T>(iid, object);
    }

    typename Runtime::Result QUILLMARK_COM_CALL LockServer(typename Runtime::LockFlag lock) override
    {
        lock ? ++LiveObjects() : --LiveObjects();
        return Runtime::Ok;
    }
};

// A class that the library serves: its identifier and where its class object comes from.
template <class Runtime>
struct ServedClass {
    typename Runtime::Iid clsid;
    typename Runtime::Result (*classObject)(const typename Runtime::Iid& iid, void** object);
};

// Class T, served by its class factory.
template <class Runtime, class T>
ServedClass<Runtime> Served(const typename Runtime::Iid& clsid)
{
    return {clsid, &NewObject<Runtime, BasicClassFactory<Runtime, T>>};
}

// DllGetClassObject over the classes a library serves.
template <class Runtime, std::size_t N>
typename Runtime::Result GetClassObject(const std::array<ServedClass<Runtime>, N>& classes,
                                        const typename Runtime::Iid& clsid, const typename Runtime::Iid& iid,
                                        void** object)
{
    if (!object)
        return Runtime::Pointer;
    *object = nullptr;
    for (const ServedClass<Runtime>& served : classes)
        if (served.clsid == clsid)
            return served.classObject(iid, object);
    return Runtime::ClassNotAvailable;
}

// DllCanUnloadNow: only when no object and no lock is alive.
template <class Runtime>
typename Runtime::Result CanUnloadNow()
{
    return LiveObjects() == 0 ? Runtime::Ok : Runtime::StillInUse;
}

} // namespace quillmark::com
