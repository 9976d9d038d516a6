#pragma once

#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillmark::com {

inline constexpr Guid IID_IDispatch = MakeGuid("00020400-0000-0000-C000-000000000046");

using DispId = std::int32_t;

// How a member is invoked; a call may combine Method and PropertyGet, as late binding does.
enum InvokeKind : std::uint16_t {
    Method = 1,
    PropertyGet = 2,
    PropertyPut = 4,
    PropertyPutRef = 8,
};

// What a failing member raised.
struct ExcepInfo {
    std::int32_t number = 0;
    std::string description;
};

// Late binding: members found by name, called by dispatch id. Arguments are in declaration
// order; a by-reference argument is written back into args.
class IDispatch : public IUnknown {
public:
    virtual HResult GetIDsOfNames(const std::string& name, DispId* id) = 0;
    virtual HResult Invoke(DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                           ExcepInfo* excep) = 0;

protected:
    ~IDispatch() = default;
};

// One member of a dual interface as its dispatch side sees it.
template <class T>
struct DispatchMember {
    const char* name;
    DispId id;
    std::uint16_t kind;
    std::size_t argumentCount;
    std::function<Variant(T&, std::vector<Variant>&)> call;
};

// The dispatch side of a dual interface, answered from a member table. Names compare
// case-insensitively. A member's RuntimeError becomes DISP_E_EXCEPTION with its number and text.
HResult FindMember(const std::string& name, const std::vector<std::pair<std::string, DispId>>& names, DispId* id);

template <class T>
class DispatchTable {
public:
    explicit DispatchTable(std::vector<DispatchMember<T>> members) : members_(std::move(members))
    {
        for (const auto& m : members_)
            names_.emplace_back(m.name, m.id);
    }

    HResult GetIDsOfNames(const std::string& name, DispId* id) const { return FindMember(name, names_, id); }

    HResult Invoke(T& object, DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                   ExcepInfo* excep) const;

private:
    std::vector<DispatchMember<T>> members_;
    std::vector<std::pair<std::string, DispId>> names_;
};

// Runs call, turning what it throws into the dispatch failure codes.
HResult InvokeGuarded(const std::function<Variant()>& call, Variant* result, ExcepInfo* excep);

template <class T>
HResult DispatchTable<T>::Invoke(T& object, DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                                 ExcepInfo* excep) const
{
    for (const auto& m : members_) {
        if (m.id != id || (m.kind & kind) == 0)
            continue;
        if (args.size() != m.argumentCount)
            return DISP_E_BADPARAMCOUNT;
        return InvokeGuarded([&] { return m.call(object, args); }, result, excep);
    }
    return DISP_E_MEMBERNOTFOUND;
}

// Client side of late binding: throw RuntimeError (438 for an unknown member, the member's
// own error when it raised one).
Variant CallById(IDispatch& object, DispId id, std::uint16_t kind, std::vector<Variant>& args);
Variant CallById(IDispatch& object, DispId id, std::uint16_t kind, std::vector<Variant>&& args = {});
Variant CallByName(IDispatch& object, const std::string& name, std::uint16_t kind, std::vector<Variant>&& args = {});

} // namespace quillmark::com
