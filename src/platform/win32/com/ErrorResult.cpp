#include "platform/win32/com/ErrorResult.h"

#include "base/RuntimeError.h"
#include "platform/win32/WideText.h"

#include <wrl/client.h>

namespace quillmark::win32 {

HRESULT FailureResult(REFIID iid)
{
    const RuntimeError error = CurrentError();
    Microsoft::WRL::ComPtr<ICreateErrorInfo> info;
    if (SUCCEEDED(::CreateErrorInfo(&info))) {
        std::wstring description = Widen(error.Description());
        info->SetGUID(iid);
        info->SetDescription(description.data());
        Microsoft::WRL::ComPtr<IErrorInfo> errorInfo;
        if (SUCCEEDED(info.As(&errorInfo)))
            ::SetErrorInfo(0, errorInfo.Get());
    }
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(error.Number()));
}

} // namespace quillmark::win32
