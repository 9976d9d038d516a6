#pragma once

#include "platform/com/Unknown.h"

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

} // namespace quillmark::com
