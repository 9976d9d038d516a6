#include "programs/addin-dll/TimerObject.h"

#include "addin/AddInIdentity.h"
#include "platform/win32/com/TypeLibrary.h"

namespace quillmark::win32 {
GUID TimerObject::TimerInterface()
{
    return SystemGuid(IID_CMMTimer);
}

void* TimerObject::Interface(REFIID iid)
{
    return iid == IID_IUnknown || iid == IID_IDispatch || iid == TimerInterface() ? static_cast<_CMMTimer*>(this)
                                                                                  : nullptr;
}

HRESULT TimerObject::get_ElapsedTime(double* value)
{
    if (!value)
        return E_POINTER;
    *value = timer_.ElapsedTime();
    return S_OK;
}

HRESULT TimerObject::get_ScaleFactor(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = timer_.ScaleFactor();
    return S_OK;
}

HRESULT TimerObject::put_ScaleFactor(LONG value)
{
    timer_.SetScaleFactor(value);
    return S_OK;
}

HRESULT TimerObject::ResumeTimer()
{
    timer_.ResumeTimer();
    return S_OK;
}

HRESULT TimerObject::StartTimer()
{
    timer_.StartTimer();
    return S_OK;
}

HRESULT TimerObject::StopTimer()
{
    timer_.StopTimer();
    return S_OK;
}

} // namespace quillmark::win32
