#include "addin/Connect.h"

#include "addin/AddInIdentity.h"
#include "codemodel/ModHtml.h"
#include "codemodel/RuntimeError.h"
#include "platform/settings/Settings.h"
#include "platform/ui/MessageBox.h"
#include "window/qt/frmAddIn.h"

#include <QApplication>

namespace quillmark {
namespace {

using com::Variant;

constexpr const char* AddInTitle = "Quillmark";
constexpr const char* MenuCaption = "ｿｰｽをhtmlに変換する";
constexpr std::int16_t msoControlButton = 1;

// Runs one step of a procedure that goes on after a failing step.
template <class Step>
void ResumeNext(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

template <class T>
std::shared_ptr<T> Unwrap(const com::Guid& iid, const Variant& value)
{
    const auto reference = value.ToObject();
    auto object = com::UnwrapHostObject<T>(iid, reference.Get());
    if (reference && !object)
        throw RuntimeError(err::TypeMismatch);
    return object;
}

const com::DispatchTable<Connect>& DispatchMembers()
{
    using M = com::DispatchMember<Connect>;
    static const com::DispatchTable<Connect> table({
        M{"FormDisplayed", IConnect::DISPID_FormDisplayed, com::PropertyGet, 0,
          [](Connect& c, auto&) { return Variant(c.FormDisplayed()); }},
        M{"FormDisplayed", IConnect::DISPID_FormDisplayed, com::PropertyPut, 1,
          [](Connect& c, auto& args) {
              c.SetFormDisplayed(args[0].ToBool());
              return Variant();
          }},
        M{"VBInstance", IConnect::DISPID_VBInstance, com::PropertyGet, 0,
          [](Connect& c, auto&) { return Variant(com::WrapHostObject(com::IID_VBE, c.VBInstance())); }},
        M{"VBInstance", IConnect::DISPID_VBInstance, com::PropertyPutRef, 1,
          [](Connect& c, auto& args) {
              c.SetVBInstance(Unwrap<VBE>(com::IID_VBE, args[0]));
              return Variant();
          }},
        M{"MenuHandler", IConnect::DISPID_MenuHandler, com::PropertyGet, 0,
          [](Connect& c, auto&) { return Variant(com::WrapHostObject(com::IID_CommandBarEvents, c.MenuHandler())); }},
        M{"MenuHandler", IConnect::DISPID_MenuHandler, com::PropertyPutRef, 1,
          [](Connect& c, auto& args) {
              c.SetMenuHandler(Unwrap<CommandBarEvents>(com::IID_CommandBarEvents, args[0]));
              return Variant();
          }},
        M{"Hide", IConnect::DISPID_Hide, com::Method, 0,
          [](Connect& c, auto&) {
              c.Hide();
              return Variant();
          }},
        M{"Show", IConnect::DISPID_Show, com::Method, 0,
          [](Connect& c, auto&) {
              c.Show();
              return Variant();
          }},
        M{"AddToAddInCommandBar", IConnect::DISPID_AddToAddInCommandBar, com::Method | com::PropertyGet, 1,
          [](Connect& c, auto& args) {
              std::string caption = args[0].ToString();
              auto control = c.AddToAddInCommandBar(caption);
              args[0] = Variant(caption);
              return Variant(com::WrapHostObject(com::IID_CommandBarControl, control));
          }},
    });
    return table;
}

} // namespace

Connect::Connect() = default;

Connect::~Connect()
{
    if (MenuHandler_)
        ResumeNext([&] { MenuHandler_->SetClickHandler({}); });
}

void* Connect::Interface(const com::Guid& iid)
{
    if (iid == com::IID_IUnknown || iid == com::IID_IDispatch || iid == IID_Connect)
        return static_cast<IConnect*>(this);
    if (iid == com::IID_IDTExtensibility2)
        return static_cast<com::IDTExtensibility2*>(this);
    if (iid == com::IID_ISupportErrorInfo)
        return static_cast<com::ISupportErrorInfo*>(this);
    return nullptr;
}

com::HResult Connect::GetIDsOfNames(const std::string& name, com::DispId* id)
{
    return DispatchMembers().GetIDsOfNames(name, id);
}

com::HResult Connect::Invoke(com::DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                             com::ExcepInfo* excep)
{
    return DispatchMembers().Invoke(*this, id, kind, args, result, excep);
}

void Connect::SetMenuHandler(std::shared_ptr<CommandBarEvents> value)
{
    if (auto previous = std::exchange(MenuHandler_, nullptr))
        previous->SetClickHandler({});
    if (value)
        value->SetClickHandler([this](const std::shared_ptr<CommandBarControl>& control, bool& handled,
                                      bool& cancelDefault) { MenuHandler_Click(control, handled, cancelDefault); });
    MenuHandler_ = std::move(value);
}

std::shared_ptr<CommandBarControl> Connect::AddToAddInCommandBar(std::string& sCaption)
{
    try {
        const auto bar = Obj(Obj(VBInstance_).CommandBars()).Item("Add-Ins");
        if (!bar)
            return nullptr;
        auto control = Obj(bar->Controls()).Add(msoControlButton);
        Obj(control).SetCaption(sCaption);
        return control;
    } catch (...) {
        return nullptr;
    }
}

void Connect::MenuHandler_Click(const std::shared_ptr<CommandBarControl>&, bool&, bool&)
{
    Show();
}

void Connect::Show()
{
    ResumeNext([&] {
        // Widgets need the host's widget application; a console client gets no window.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            throw RuntimeError(err::ObjectRequired);
        if (!AddInForm_)
            AddInForm_ = std::make_unique<frmAddIn>();
    });
    ResumeNext([&] {
        frmAddIn& form = Obj(AddInForm_);
        AddRef();
        form.SetConnect(std::shared_ptr<void>(static_cast<IConnect*>(this),
                                              [](void* self) { static_cast<IConnect*>(self)->Release(); }));
    });
    ModHtml().HostEditor = VBInstance_;
    formDisplayed_ = true;
    ResumeNext([&] { Obj(AddInForm_).Show(); });
}

void Connect::Hide()
{
    formDisplayed_ = false;
    if (AddInForm_)
        AddInForm_->Hide();
}

bool Connect::DisplayOnConnect() const
{
    return GetSetting(AddInTitle, "Settings", "DisplayOnConnect", "0") == "1";
}

com::HResult Connect::OnConnection(com::IUnknown* application, std::int32_t connectMode, com::IUnknown*,
                                   std::vector<Variant>&)
{
    try {
        VBInstance_ = com::UnwrapHostObject<VBE>(com::IID_VBE, application);
        if (!VBInstance_)
            throw RuntimeError(err::TypeMismatch);
        if (connectMode != com::ext_ConnectMode::External) {
            std::string caption = MenuCaption;
            MenuControl_ = AddToAddInCommandBar(caption);
            SetMenuHandler(Obj(Obj(VBInstance_).Events()).CommandBarEvents(MenuControl_));
        }
        if (connectMode == com::ext_ConnectMode::AfterStartup && DisplayOnConnect())
            Show();
    } catch (...) {
        MsgBox(CurrentError().Description(), AddInTitle);
    }
    return com::S_OK;
}

com::HResult Connect::OnDisconnection(std::int32_t, std::vector<Variant>&)
{
    // The window holds a reference to this object; keep it alive until the last step.
    const com::ComPtr<IConnect> self(this);
    ResumeNext([&] { Obj(MenuControl_).Delete(); });
    if (formDisplayed_) {
        ResumeNext([&] { SaveSetting(AddInTitle, "Settings", "DisplayOnConnect", "1"); });
        formDisplayed_ = false;
    } else {
        ResumeNext([&] { SaveSetting(AddInTitle, "Settings", "DisplayOnConnect", "0"); });
    }
    ResumeNext([&] { Obj(AddInForm_).Unload(); });
    AddInForm_.reset();
    VBInstance_.reset();
    ModHtml().HostEditor.reset();
    ResumeNext([&] { SetMenuHandler(nullptr); });
    MenuHandler_.reset();
    MenuControl_.reset();
    return com::S_OK;
}

com::HResult Connect::OnAddInsUpdate(std::vector<Variant>&)
{
    return com::S_OK;
}

com::HResult Connect::OnStartupComplete(std::vector<Variant>&)
{
    try {
        if (DisplayOnConnect())
            Show();
        return com::S_OK;
    } catch (...) {
        const RuntimeError error = CurrentError();
        lastError_ = com::ExcepInfo{error.Number(), error.Description()};
        return com::DISP_E_EXCEPTION;
    }
}

com::HResult Connect::GetErrorInfo(com::ExcepInfo* info)
{
    if (!info)
        return com::E_POINTER;
    if (!lastError_)
        return com::S_FALSE;
    *info = *lastError_;
    return com::S_OK;
}

com::HResult Connect::OnBeginShutdown(std::vector<Variant>&)
{
    return com::S_OK;
}

} // namespace quillmark
