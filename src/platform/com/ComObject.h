#pragma once

#include "platform/com/Unknown.h"

#include <atomic>
#include <cstdint>

namespace quillmark::com {

// Objects and server locks alive in this library; DllCanUnloadNow answers from it. Each
// library that links this layer has its own count.
std::atomic<long>& LiveObjects();

// The reference counting shared by every class of a library. Derived implements
//     void* Interface(const Guid& iid)
// returning the right base pointer for each interface it offers (IID_IUnknown included), or
// nullptr; objects are created with new and start with no reference.
template <class Derived, class... Interfaces>
class ComObject : public Interfaces... {
public:
    HResult QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = static_cast<Derived*>(this)->Interface(iid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++count_; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --count_;
        if (left == 0)
            delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ComObject() { ++LiveObjects(); }
    virtual ~ComObject() { --LiveObjects(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    std::atomic<std::uint32_t> count_{0};
};

// A new object of class T, as a counted reference to interface I.
template <class T, class I, class... Args>
ComPtr<I> MakeObject(Args&&... args)
{
    return ComPtr<I>(static_cast<I*>(new T(std::forward<Args>(args)...)));
}

} // namespace quillmark::com
