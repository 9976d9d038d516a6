#include "addin/win32/ClickSink.h"

#include "platform/win32/com/ComObject.h"

namespace quillmark::win32 {
namespace {

// The editor's source interface of CommandBarEvents.
constexpr GUID DIID_CommandBarEvents = {0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID DISPID_Click = 1;

RuntimeError EventsNotSupported()
{
    return RuntimeError(459, "オブジェクトまたはクラスがこのイベントのセットをサポートしていません。");
}

class ClickSink final : public ComObject<ClickSink, IDispatch> {
public:
    explicit ClickSink(ClickConnection::Handler handler) : handler_(std::move(handler)) {}

    void* Interface(REFIID iid)
    {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_CommandBarEvents
                   ? static_cast<IDispatch*>(this)
                   : nullptr;
    }

    // After this no click reaches the handler, even from a source that keeps the sink.
    void Disarm() { handler_ = nullptr; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids || count != 1)
            return DISP_E_UNKNOWNNAME;
        if (::CompareStringOrdinal(names[0], -1, L"Click", -1, TRUE) != CSTR_EQUAL) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = DISPID_Click;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        if (id != DISPID_Click)
            return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 3)
            return DISP_E_BADPARAMCOUNT;
        // Arguments arrive last to first: cancelDefault, handled, control.
        VARIANT* args = params->rgvarg;
        IDispatch* control = V_VT(&args[2]) == VT_DISPATCH ? V_DISPATCH(&args[2]) : nullptr;
        VARIANT_BOOL* handledFlag = V_VT(&args[1]) == (VT_BYREF | VT_BOOL) ? V_BOOLREF(&args[1]) : nullptr;
        VARIANT_BOOL* cancelFlag = V_VT(&args[0]) == (VT_BYREF | VT_BOOL) ? V_BOOLREF(&args[0]) : nullptr;
        bool handled = handledFlag && *handledFlag;
        bool cancelDefault = cancelFlag && *cancelFlag;
        if (handler_) {
            try {
                handler_(control, handled, cancelDefault);
            } catch (...) {
                // The editor has no one to tell; the click is simply over.
            }
        }
        if (handledFlag)
            *handledFlag = handled ? VARIANT_TRUE : VARIANT_FALSE;
        if (cancelFlag)
            *cancelFlag = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

private:
    ClickConnection::Handler handler_;
};

} // namespace

ClickConnection::ClickConnection(IDispatch* source, Handler handler)
{
    ComPtr<IConnectionPointContainer> container;
    if (!source || FAILED(source->QueryInterface(IID_PPV_ARGS(&container))) ||
        FAILED(container->FindConnectionPoint(DIID_CommandBarEvents, &point_)))
        throw EventsNotSupported();
    sink_ = new ClickSink(std::move(handler));
    if (FAILED(point_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_)))
        throw EventsNotSupported();
}

ClickConnection::~ClickConnection()
{
    static_cast<ClickSink*>(sink_.Get())->Disarm();
    point_->Unadvise(cookie_);
}

} // namespace quillmark::win32
