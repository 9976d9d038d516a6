#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <cstdint>
#include <utility>

namespace quillmark::com {

inline constexpr Guid IID_IUnknown = MakeGuid("00000000-0000-0000-C000-000000000046");

// The root of every component interface: counted references and interface discovery.
// QueryInterface hands out an added reference; the holder releases it.
class IUnknown {
public:
    virtual HResult QueryInterface(const Guid& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// One counted reference to an interface; releases it when cleared or destroyed.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.Get()))
    {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }

    // Adopts a reference that the caller already owns (from QueryInterface or a factory).
    static ComPtr Attach(T* p)
    {
        ComPtr r;
        r.p_ = p;
        return r;
    }

    void Reset()
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const ComPtr& other) const { return p_ == other.p_; }

    // The interface iid of this object as I, or empty when the object has none.
    template <class I>
    ComPtr<I> As(const Guid& iid) const
    {
        void* out = nullptr;
        if (!p_ || Failed(p_->QueryInterface(iid, &out)))
            return {};
        return ComPtr<I>::Attach(static_cast<I*>(out));
    }

private:
    T* p_ = nullptr;
};

} // namespace quillmark::com
