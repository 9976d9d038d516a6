#pragma once

#include "platform/win32/com/TypeLibrary.h"
#include "timing/CMMTimer.h"

#include <array>

#include "Quillmark_h.h"

namespace quillmark::win32 {

// CMMTimer as the library's public creatable class Quillmark.CMMTimer (_CMMTimer).
class TimerObject final : public DualDispatch<TimerObject, _CMMTimer> {
public:
    void* Interface(REFIID iid);
    std::array<DualInterface, 1> DualInterfaces() { return {{{TimerInterface(), static_cast<_CMMTimer*>(this)}}}; }

    HRESULT STDMETHODCALLTYPE get_ElapsedTime(double* value) override;
    HRESULT STDMETHODCALLTYPE get_ScaleFactor(LONG* value) override;
    HRESULT STDMETHODCALLTYPE put_ScaleFactor(LONG value) override;
    HRESULT STDMETHODCALLTYPE ResumeTimer() override;
    HRESULT STDMETHODCALLTYPE StartTimer() override;
    HRESULT STDMETHODCALLTYPE StopTimer() override;

private:
    static GUID TimerInterface();

    CMMTimer timer_;
};

} // namespace quillmark::win32
