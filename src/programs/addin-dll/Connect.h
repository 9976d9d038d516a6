#pragma once

#include "addin/AddIn.h"
#include "platform/win32/com/TypeLibrary.h"

#include <array>

#include "Quillmark_h.h"

namespace quillmark::win32 {

// The class the editor loads: the add-in's behaviour (AddIn) behind the dual interface
// _Connect and the editor's IDTExtensibility2, both served from the type library.
class Connect final : public DualDispatch<Connect, _Connect, IDTExtensibility2, ISupportErrorInfo> {
public:
    Connect();

    void* Interface(REFIID iid);
    std::array<DualInterface, 2> DualInterfaces();

    // _Connect
    HRESULT STDMETHODCALLTYPE get_FormDisplayed(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_FormDisplayed(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_VBInstance(IDispatch** value) override;
    HRESULT STDMETHODCALLTYPE putref_VBInstance(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE get_MenuHandler(IDispatch** value) override;
    HRESULT STDMETHODCALLTYPE putref_MenuHandler(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE Hide() override;
    HRESULT STDMETHODCALLTYPE Show() override;
    HRESULT STDMETHODCALLTYPE AddToAddInCommandBar(BSTR* sCaption, IDispatch** control) override;

    // IDTExtensibility2
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, LONG connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(LONG removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    AddIn addIn_;
};

} // namespace quillmark::win32
