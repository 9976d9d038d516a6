#include "HostObjects.h"

#include "platform/win32/WideText.h"
#include "platform/win32/com/ComObject.h"

#include <olectl.h>

#include <functional>
#include <map>

namespace quillmark::test {
namespace {

using win32::ComObject;

constexpr GUID DIID_CommandBarEvents = {0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One call of a member: its arguments in declaration order and its result.
class Call {
public:
    Call(WORD flags, DISPPARAMS& params, VARIANT* result) : flags(flags), params_(params), result_(result) {}

    bool IsPut() const { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    VARIANT& Arg(UINT i) const
    {
        if (i >= params_.cArgs)
            throw RuntimeError(450, "引数の数が一致していません。");
        return params_.rgvarg[params_.cArgs - 1 - i];
    }
    std::int32_t Number(UINT i) const { return Converted(i, VT_I4).ToInt32(); }
    std::string Text(UINT i) const { return Converted(i, VT_BSTR).ToString(); }
    bool IsText(UINT i) const { return (V_VT(&Arg(i)) & VT_TYPEMASK) == VT_BSTR; }

    void Return(std::int32_t value) { Set(win32::VariantValue(value)); }
    void Return(const std::string& value) { Set(win32::VariantValue(value)); }
    void Return(IDispatch* value) { Set(win32::VariantValue(value)); }

    WORD flags;

private:
    void Set(win32::VariantValue value)
    {
        if (result_)
            ::VariantCopy(result_, value.Get());
    }

    win32::VariantValue Converted(UINT i, VARTYPE type) const
    {
        win32::VariantValue value;
        if (FAILED(::VariantChangeType(value.Get(), &Arg(i), 0, type)))
            throw RuntimeError(err::TypeMismatch);
        return value;
    }

    DISPPARAMS& params_;
    VARIANT* result_;
};

using Members = std::vector<std::pair<std::wstring, std::function<void(Call&)>>>;

// An object answering its members by name; dispatch id n is member n-1. A RuntimeError
// travels to the caller as the editor raises errors: DISP_E_EXCEPTION with number and text.
class AutomationObject final : public ComObject<AutomationObject, IDispatch> {
public:
    explicit AutomationObject(Members members) : members_(std::move(members)) {}

    void* Interface(REFIID iid)
    {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        for (std::size_t i = 0; count == 1 && i < members_.size(); ++i) {
            if (::CompareStringOrdinal(names[0], -1, members_[i].first.c_str(), -1, TRUE) == CSTR_EQUAL) {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT*) override
    {
        if (id < 1 || static_cast<std::size_t>(id) > members_.size())
            return DISP_E_MEMBERNOTFOUND;
        try {
            Call call(flags, *params, result);
            members_[static_cast<std::size_t>(id - 1)].second(call);
            return S_OK;
        } catch (const RuntimeError& e) {
            if (excep) {
                *excep = EXCEPINFO{};
                excep->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, e.Number());
                excep->bstrSource = win32::NewBstr("VBE");
                excep->bstrDescription = win32::NewBstr(e.Description());
            }
            return DISP_E_EXCEPTION;
        }
    }

private:
    Members members_;
};

ComPtr<IDispatch> make(Members members)
{
    return ComPtr<IDispatch>(new AutomationObject(std::move(members)));
}

// Returns a fresh object (or Nothing) as the call's result; the caller keeps the reference.
template <class T, class Make>
void returnObject(Call& call, const std::shared_ptr<T>& object, Make makeObject)
{
    const ComPtr<IDispatch> result = object ? makeObject(object) : nullptr;
    call.Return(result.Get());
}

ComPtr<IDispatch> codeModule(std::shared_ptr<CodeModule> m)
{
    return make({
        {L"Name", [m](Call& c) { c.Return(m->Name()); }},
        {L"CountOfLines", [m](Call& c) { c.Return(m->CountOfLines()); }},
        {L"Lines", [m](Call& c) { c.Return(m->Lines(c.Number(0), c.Number(1))); }},
        {L"ProcOfLine",
         [m](Call& c) {
             VARIANT& kindArg = c.Arg(1);
             if (V_VT(&kindArg) != (VT_BYREF | VT_I4))
                 throw RuntimeError(err::TypeMismatch);
             std::int32_t kind = *V_I4REF(&kindArg);
             c.Return(m->ProcOfLine(c.Number(0), kind));
             *V_I4REF(&kindArg) = kind;
         }},
        {L"ProcCountLines", [m](Call& c) { c.Return(m->ProcCountLines(c.Text(0), c.Number(1))); }},
    });
}

ComPtr<IDispatch> component(std::shared_ptr<VBComponent> v)
{
    return make({
        {L"Name", [v](Call& c) { c.Return(v->Name()); }},
        {L"Type", [v](Call& c) { c.Return(v->Type()); }},
        {L"CodeModule", [v](Call& c) { returnObject(c, v->CodeModule(), codeModule); }},
    });
}

ComPtr<IDispatch> components(std::shared_ptr<VBComponents> v)
{
    return make({
        {L"Count", [v](Call& c) { c.Return(v->Count()); }},
        {L"Item",
         [v](Call& c) { returnObject(c, c.IsText(0) ? v->Item(c.Text(0)) : v->Item(c.Number(0)), component); }},
    });
}

ComPtr<IDispatch> project(std::shared_ptr<VBProject> p)
{
    return make({
        {L"Protection", [p](Call& c) { c.Return(p->Protection()); }},
        {L"FileName", [p](Call& c) { c.Return(p->FileName()); }},
        {L"VBComponents", [p](Call& c) { returnObject(c, p->VBComponents(), components); }},
    });
}

ComPtr<IDispatch> projects(std::shared_ptr<VBProjects> p)
{
    return make({
        {L"Count", [p](Call& c) { c.Return(p->Count()); }},
        {L"Item", [p](Call& c) { returnObject(c, p->Item(c.Number(0)), project); }},
    });
}

ComPtr<IDispatch> codePane(std::shared_ptr<CodePane> p)
{
    return make({{L"CodeModule", [p](Call& c) { returnObject(c, p->CodeModule(), codeModule); }}});
}

// The source of one control's Click: the editor's CommandBarEvents with its connection point.
class ClickSource final : public ComObject<ClickSource, IDispatch, IConnectionPointContainer, IConnectionPoint> {
public:
    explicit ClickSource(bool refuseSinks) : refuseSinks_(refuseSinks) {}

    void* Interface(REFIID iid)
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            return static_cast<IDispatch*>(this);
        if (iid == IID_IConnectionPointContainer)
            return static_cast<IConnectionPointContainer*>(this);
        if (iid == IID_IConnectionPoint)
            return static_cast<IConnectionPoint*>(this);
        return nullptr;
    }

    // Click to every sink; false when there is none.
    bool Fire(IDispatch* control, bool& handled, bool& cancelDefault)
    {
        if (sinks_.empty())
            return false;
        for (auto& [cookie, sink] : std::map(sinks_)) {
            VARIANT_BOOL handledFlag = handled ? VARIANT_TRUE : VARIANT_FALSE;
            VARIANT_BOOL cancelFlag = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
            VARIANT args[3];
            V_VT(&args[0]) = VT_BYREF | VT_BOOL;
            V_BOOLREF(&args[0]) = &cancelFlag;
            V_VT(&args[1]) = VT_BYREF | VT_BOOL;
            V_BOOLREF(&args[1]) = &handledFlag;
            V_VT(&args[2]) = VT_DISPATCH;
            V_DISPATCH(&args[2]) = control;
            DISPPARAMS params{args, nullptr, 3, 0};
            if (FAILED(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr)))
                return false;
            handled = handledFlag != VARIANT_FALSE;
            cancelDefault = cancelFlag != VARIANT_FALSE;
        }
        return true;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        if (iid != DIID_CommandBarEvents)
            return CONNECT_E_NOCONNECTION;
        *point = this;
        AddRef();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        *iid = DIID_CommandBarEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override
    {
        *container = this;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override
    {
        // The editor asks the sink for the event interface itself.
        ComPtr<IDispatch> events;
        if (!sink || refuseSinks_ ||
            FAILED(sink->QueryInterface(DIID_CommandBarEvents, reinterpret_cast<void**>(events.GetAddressOf()))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = ++lastCookie_;
        sinks_.emplace(*cookie, std::move(events));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    bool refuseSinks_;
    std::map<DWORD, ComPtr<IDispatch>> sinks_;
    DWORD lastCookie_ = 0;
};

using ControlList = std::vector<std::shared_ptr<HostMenus::Control>>;

ComPtr<IDispatch> control(std::weak_ptr<HostMenus> menus, ControlList* bar, std::weak_ptr<HostMenus::Control> weak)
{
    return make({
        {L"Caption",
         [weak](Call& c) {
             const auto self = weak.lock();
             if (!self)
                 throw RuntimeError(err::ObjectRequired);
             if (c.IsPut())
                 self->caption = c.Text(0);
             else
                 c.Return(self->caption);
         }},
        {L"Delete",
         [menus, bar, weak](Call&) {
             const auto self = weak.lock();
             const auto keep = menus.lock();
             if (!self || !keep)
                 throw RuntimeError(err::ObjectRequired);
             std::erase(*bar, self);
         }},
    });
}

ComPtr<IDispatch> controls(std::weak_ptr<HostMenus> menus, ControlList* bar)
{
    return make({
        {L"Count", [bar](Call& c) { c.Return(static_cast<std::int32_t>(bar->size())); }},
        {L"Add",
         [menus, bar](Call& c) {
             if (c.Number(0) != 1)
                 throw RuntimeError(err::InvalidCall);
             auto added = std::make_shared<HostMenus::Control>();
             added->object = control(menus, bar, added);
             bar->push_back(added);
             c.Return(added->object.Get());
         }},
    });
}

ControlList* barNamed(HostMenus& menus, const std::string& name)
{
    for (auto& [barName, list] : menus.bars)
        if (barName == name)
            return &list;
    return nullptr;
}

ComPtr<IDispatch> commandBars(std::weak_ptr<HostMenus> menus)
{
    return make({{L"Item", [menus](Call& c) {
                      const auto keep = menus.lock();
                      ControlList* bar = keep ? barNamed(*keep, c.Text(0)) : nullptr;
                      if (!bar)
                          throw RuntimeError(err::InvalidCall);
                      const ComPtr<IDispatch> object =
                          make({{L"Controls", [menus, bar](Call& c) { c.Return(controls(menus, bar).Get()); }}});
                      c.Return(object.Get());
                  }}});
}

ComPtr<IDispatch> events(std::weak_ptr<HostMenus> menus)
{
    return make({{L"CommandBarEvents", [menus](Call& c) {
                      const auto keep = menus.lock();
                      if (!keep)
                          throw RuntimeError(err::ObjectRequired);
                      if (keep->eventsFailure)
                          throw *keep->eventsFailure;
                      VARIANT& arg = c.Arg(0);
                      IDispatch* wanted = V_VT(&arg) == VT_DISPATCH ? V_DISPATCH(&arg) : nullptr;
                      for (auto& [name, bar] : keep->bars)
                          for (const auto& item : bar)
                              if (wanted && item->object.Get() == wanted) {
                                  if (!item->clickSource)
                                      item->clickSource = static_cast<IDispatch*>(new ClickSource(keep->refuseSinks));
                                  c.Return(item->clickSource.Get());
                                  return;
                              }
                      throw RuntimeError(err::ObjectRequired);
                  }}});
}

} // namespace

std::vector<std::string> HostMenus::Captions(const std::string& bar) const
{
    std::vector<std::string> captions;
    for (const auto& [name, list] : bars)
        if (name == bar)
            for (const auto& item : list)
                captions.push_back(item->caption);
    return captions;
}

bool HostMenus::Click(const std::string& bar, const std::string& caption, bool& handled, bool& cancelDefault)
{
    ControlList* list = barNamed(*this, bar);
    for (const auto& item : list ? *list : ControlList{})
        if (item->caption == caption && item->clickSource)
            return static_cast<ClickSource*>(item->clickSource.Get())->Fire(item->object.Get(), handled, cancelDefault);
    return false;
}

ComPtr<IDispatch> MakeHostEditor(std::shared_ptr<VBE> code, std::shared_ptr<HostMenus> menus)
{
    const std::weak_ptr<HostMenus> weakMenus = menus;
    return make({
        {L"VBProjects", [code](Call& c) { returnObject(c, code->VBProjects(), projects); }},
        {L"ActiveVBProject", [code](Call& c) { returnObject(c, code->ActiveVBProject(), project); }},
        {L"ActiveCodePane", [code](Call& c) { returnObject(c, code->ActiveCodePane(), codePane); }},
        {L"CommandBars", [weakMenus](Call& c) { c.Return(commandBars(weakMenus).Get()); }},
        {L"Events", [weakMenus](Call& c) { c.Return(events(weakMenus).Get()); }},
    });
}

} // namespace quillmark::test
