#include "platform/com/Dispatch.h"

#include "base/AsciiText.h"
#include "base/RuntimeError.h"

#include <algorithm>

namespace quillmark::com {
namespace {} // namespace

HResult FindMember(const std::string& name, const std::vector<std::pair<std::string, DispId>>& names, DispId* id)
{
    if (!id)
        return E_POINTER;
    for (const auto& [member, memberId] : names) {
        if (SameName(member, name)) {
            *id = memberId;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HResult InvokeGuarded(const std::function<Variant()>& call, Variant* result, ExcepInfo* excep)
{
    try {
        Variant value = call();
        if (result)
            *result = std::move(value);
        return S_OK;
    } catch (...) {
        const RuntimeError error = CurrentError();
        if (error.Number() == err::TypeMismatch)
            return DISP_E_TYPEMISMATCH;
        if (excep)
            *excep = ExcepInfo{error.Number(), error.Description()};
        return DISP_E_EXCEPTION;
    }
}

Variant CallById(IDispatch& object, DispId id, std::uint16_t kind, std::vector<Variant>& args)
{
    Variant result;
    ExcepInfo excep;
    const HResult hr = object.Invoke(id, kind, args, &result, &excep);
    switch (hr) {
    case S_OK: return result;
    case DISP_E_EXCEPTION: throw RuntimeError(excep.number, excep.description);
    case DISP_E_TYPEMISMATCH: throw RuntimeError(err::TypeMismatch);
    case DISP_E_BADPARAMCOUNT:
        throw RuntimeError(450, "引数の数が一致していません。または不正なプロパティを指定しています。");
    case DISP_E_MEMBERNOTFOUND: throw RuntimeError(err::MemberNotSupported);
    default: throw RuntimeError(err::InvalidCall);
    }
}

Variant CallById(IDispatch& object, DispId id, std::uint16_t kind, std::vector<Variant>&& args)
{
    return CallById(object, id, kind, args);
}

Variant CallByName(IDispatch& object, const std::string& name, std::uint16_t kind, std::vector<Variant>&& args)
{
    DispId id = 0;
    if (Failed(object.GetIDsOfNames(name, &id)))
        throw RuntimeError(err::MemberNotSupported);
    return CallById(object, id, kind, args);
}

} // namespace quillmark::com
