#pragma once

#include "platform/com/Dispatch.h"

#include <cstdint>

namespace quillmark {

// The default dual interface of the public timer class (_CMMTimer).
class ICMMTimer : public com::IDispatch {
public:
    static constexpr com::DispId DISPID_ElapsedTime = 0x68030001;
    static constexpr com::DispId DISPID_ScaleFactor = 0x68030000;
    static constexpr com::DispId DISPID_ResumeTimer = 0x60030003;
    static constexpr com::DispId DISPID_StartTimer = 0x60030004;
    static constexpr com::DispId DISPID_StopTimer = 0x60030005;

    virtual double ElapsedTime() = 0;
    virtual std::int32_t ScaleFactor() = 0;
    virtual void SetScaleFactor(std::int32_t value) = 0;
    virtual void ResumeTimer() = 0;
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;

protected:
    ~ICMMTimer() = default;
};

} // namespace quillmark
