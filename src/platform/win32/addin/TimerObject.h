#pragma once

#include "platform/win32/com/ComClass.h"
#include "timing/CMMTimer.h"

#include "Quillmark_h.h"

namespace quillmark::win32 {

// CMMTimer as the library's public creatable class Quillmark.CMMTimer (_CMMTimer).
class TimerObject final : public ComClass<TimerObject, _CMMTimer> {
public:
    void* Interface(REFIID iid);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argError) override;

    HRESULT STDMETHODCALLTYPE get_ElapsedTime(double* value) override;
    HRESULT STDMETHODCALLTYPE get_ScaleFactor(LONG* value) override;
    HRESULT STDMETHODCALLTYPE put_ScaleFactor(LONG value) override;
    HRESULT STDMETHODCALLTYPE ResumeTimer() override;
    HRESULT STDMETHODCALLTYPE StartTimer() override;
    HRESULT STDMETHODCALLTYPE StopTimer() override;

private:
    CMMTimer timer_;
};

} // namespace quillmark::win32
