#include "programs/addin-dll/Connect.h"

#include "addin/AddInIdentity.h"
#include "addin/win32/DispatchEditor.h"
#include "platform/win32/com/Automation.h"
#include "platform/win32/com/ErrorResult.h"
#include "platform/win32/com/TypeLibrary.h"
#include "window/win32/frmAddIn.h"

namespace quillmark::win32 {
namespace {

const GUID ConnectInterface = SystemGuid(IID_Connect);

// Hands out a reference to object in place of *out.
HRESULT GiveOut(IDispatch* object, IDispatch** out)
{
    if (!out)
        return E_POINTER;
    *out = object;
    if (object)
        object->AddRef();
    return S_OK;
}

} // namespace

Connect::Connect()
    : addIn_([]() -> std::unique_ptr<AddInWindow> { return std::make_unique<frmAddIn>(); },
             [this] {
                 AddRef();
                 return std::shared_ptr<void>(static_cast<_Connect*>(this),
                                              [](void* self) { static_cast<_Connect*>(self)->Release(); });
             })
{}

void* Connect::Interface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == ConnectInterface)
        return static_cast<_Connect*>(this);
    if (iid == __uuidof(IDTExtensibility2))
        return static_cast<IDTExtensibility2*>(this);
    if (iid == IID_ISupportErrorInfo)
        return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
}

std::array<DualInterface, 2> Connect::DualInterfaces()
{
    return {{{ConnectInterface, static_cast<_Connect*>(this)},
             {__uuidof(IDTExtensibility2), static_cast<IDTExtensibility2*>(this)}}};
}

HRESULT Connect::get_FormDisplayed(VARIANT_BOOL* value)
{
    if (!value)
        return E_POINTER;
    *value = addIn_.FormDisplayed() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Connect::put_FormDisplayed(VARIANT_BOOL value)
{
    addIn_.SetFormDisplayed(value != VARIANT_FALSE);
    return S_OK;
}

HRESULT Connect::get_VBInstance(IDispatch** value)
{
    return GiveOut(DispatchOf(addIn_.VBInstance()), value);
}

HRESULT Connect::putref_VBInstance(IDispatch* value)
{
    try {
        addIn_.SetVBInstance(EditorOf(value));
        return S_OK;
    } catch (...) {
        return FailureResult(ConnectInterface);
    }
}

HRESULT Connect::get_MenuHandler(IDispatch** value)
{
    return GiveOut(DispatchOf(addIn_.MenuHandler()), value);
}

HRESULT Connect::putref_MenuHandler(IDispatch* value)
{
    try {
        addIn_.SetMenuHandler(ClickSourceOf(value));
        return S_OK;
    } catch (...) {
        return FailureResult(ConnectInterface);
    }
}

HRESULT Connect::Hide()
{
    addIn_.Hide();
    return S_OK;
}

HRESULT Connect::Show()
{
    addIn_.Show();
    return S_OK;
}

HRESULT Connect::AddToAddInCommandBar(BSTR* sCaption, IDispatch** control)
{
    if (!sCaption || !control)
        return E_POINTER;
    try {
        std::string caption = ToUtf8(*sCaption);
        const auto added = addIn_.AddToAddInCommandBar(caption);
        BSTR written = NewBstr(caption);
        ::SysFreeString(*sCaption);
        *sCaption = written;
        return GiveOut(DispatchOf(added), control);
    } catch (...) {
        return FailureResult(ConnectInterface);
    }
}

HRESULT Connect::OnConnection(IDispatch* application, LONG connectMode, IDispatch*, SAFEARRAY**)
{
    try {
        addIn_.OnConnection(EditorOf(application), connectMode);
        return S_OK;
    } catch (...) {
        return FailureResult(__uuidof(IDTExtensibility2));
    }
}

HRESULT Connect::OnDisconnection(LONG, SAFEARRAY**)
{
    addIn_.OnDisconnection();
    return S_OK;
}

HRESULT Connect::OnAddInsUpdate(SAFEARRAY**)
{
    return S_OK;
}

HRESULT Connect::OnStartupComplete(SAFEARRAY**)
{
    try {
        addIn_.OnStartupComplete();
        return S_OK;
    } catch (...) {
        return FailureResult(__uuidof(IDTExtensibility2));
    }
}

HRESULT Connect::OnBeginShutdown(SAFEARRAY**)
{
    return S_OK;
}

HRESULT Connect::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == ConnectInterface || iid == __uuidof(IDTExtensibility2) ? S_OK : S_FALSE;
}

} // namespace quillmark::win32
