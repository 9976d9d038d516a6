#pragma once

#include "platform/com/ComObject.h"

#include <memory>

namespace quillmark::com {

// Carries one of the editor's objects (the root object, a command-bar control, a click source)
// through the component layer as a counted reference, so that it can travel in a Variant and
// between libraries. Both sides use the same interface identifier for the same object type.
template <class T>
class HostObject final : public ComObject<HostObject<T>, IUnknown> {
public:
    HostObject(const Guid& iid, std::shared_ptr<T> object) : iid_(iid), object_(std::move(object)) {}

    void* Interface(const Guid& iid)
    {
        return iid == IID_IUnknown || iid == iid_ ? static_cast<IUnknown*>(this) : nullptr;
    }
    const std::shared_ptr<T>& Get() const { return object_; }

private:
    Guid iid_;
    std::shared_ptr<T> object_;
};

// The object as a reference (Nothing for an empty pointer).
template <class T>
ComPtr<IUnknown> WrapHostObject(const Guid& iid, std::shared_ptr<T> object)
{
    if (!object)
        return {};
    return MakeObject<HostObject<T>, IUnknown>(iid, std::move(object));
}

// The editor's object behind a reference; empty for Nothing or for a reference of another type.
template <class T>
std::shared_ptr<T> UnwrapHostObject(const Guid& iid, IUnknown* reference)
{
    void* out = nullptr;
    if (!reference || Failed(reference->QueryInterface(iid, &out)))
        return {};
    auto* host = static_cast<HostObject<T>*>(static_cast<IUnknown*>(out));
    std::shared_ptr<T> object = host->Get();
    host->Release();
    return object;
}

} // namespace quillmark::com
