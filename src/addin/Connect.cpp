#include "addin/Connect.h"

#include "addin/AddInIdentity.h"
#include "base/RuntimeError.h"
#include "window/qt/frmAddIn.h"

#include <QApplication>

namespace quillmark {
namespace {

using com::Variant;

std::unique_ptr<AddInWindow> CreateWindow()
{
    // Widgets need the host's widget application; a console client gets no window.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw RuntimeError(err::ObjectRequired);
    return std::make_unique<frmAddIn>();
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

Connect::Connect()
    : addIn_(CreateWindow, [this] {
          AddRef();
          return std::shared_ptr<void>(static_cast<IConnect*>(this),
                                       [](void* self) { static_cast<IConnect*>(self)->Release(); });
      })
{}

Connect::~Connect() = default;

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

com::HResult Connect::OnConnection(com::IUnknown* application, std::int32_t connectMode, com::IUnknown*,
                                   std::vector<Variant>&)
{
    addIn_.OnConnection(com::UnwrapHostObject<VBE>(com::IID_VBE, application), connectMode);
    return com::S_OK;
}

com::HResult Connect::OnDisconnection(std::int32_t, std::vector<Variant>&)
{
    addIn_.OnDisconnection();
    return com::S_OK;
}

com::HResult Connect::OnAddInsUpdate(std::vector<Variant>&)
{
    return com::S_OK;
}

com::HResult Connect::OnStartupComplete(std::vector<Variant>&)
{
    try {
        addIn_.OnStartupComplete();
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
