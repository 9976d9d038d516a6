#pragma once

#include "platform/com/Dispatch.h"

namespace quillmark::com {

inline constexpr Guid IID_ISupportErrorInfo = MakeGuid("DF0B3D60-548F-101B-8E65-08002B2BD119");

// An object whose methods return only a result code can say what its last failure was, so
// that the caller can tell the user more than the code.
class ISupportErrorInfo : public IUnknown {
public:
    // S_FALSE when there is nothing to tell.
    virtual HResult GetErrorInfo(ExcepInfo* info) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

} // namespace quillmark::com
