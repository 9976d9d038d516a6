#include "addin/TimerObject.h"

#include "addin/AddInIdentity.h"

namespace quillmark {
namespace {

using com::Variant;

const com::DispatchTable<TimerObject>& DispatchMembers()
{
    using M = com::DispatchMember<TimerObject>;
    auto method = [](const char* name, com::DispId id, void (TimerObject::*member)()) {
        return M{name, id, com::Method, 0, [member](TimerObject& t, auto&) {
                     (t.*member)();
                     return Variant();
                 }};
    };
    static const com::DispatchTable<TimerObject> table({
        M{"ElapsedTime", ICMMTimer::DISPID_ElapsedTime, com::PropertyGet, 0,
          [](TimerObject& t, auto&) { return Variant(t.ElapsedTime()); }},
        M{"ScaleFactor", ICMMTimer::DISPID_ScaleFactor, com::PropertyGet, 0,
          [](TimerObject& t, auto&) { return Variant(t.ScaleFactor()); }},
        M{"ScaleFactor", ICMMTimer::DISPID_ScaleFactor, com::PropertyPut, 1,
          [](TimerObject& t, auto& args) {
              t.SetScaleFactor(args[0].ToInt32());
              return Variant();
          }},
        method("ResumeTimer", ICMMTimer::DISPID_ResumeTimer, &TimerObject::ResumeTimer),
        method("StartTimer", ICMMTimer::DISPID_StartTimer, &TimerObject::StartTimer),
        method("StopTimer", ICMMTimer::DISPID_StopTimer, &TimerObject::StopTimer),
    });
    return table;
}

} // namespace

void* TimerObject::Interface(const com::Guid& iid)
{
    if (iid == com::IID_IUnknown || iid == com::IID_IDispatch || iid == IID_CMMTimer)
        return static_cast<ICMMTimer*>(this);
    return nullptr;
}

com::HResult TimerObject::GetIDsOfNames(const std::string& name, com::DispId* id)
{
    return DispatchMembers().GetIDsOfNames(name, id);
}

com::HResult TimerObject::Invoke(com::DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                                 com::ExcepInfo* excep)
{
    return DispatchMembers().Invoke(*this, id, kind, args, result, excep);
}

} // namespace quillmark
