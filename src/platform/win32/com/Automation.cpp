#include "platform/win32/com/Automation.h"

#include "base/AsciiText.h"
#include "platform/win32/WideText.h"

#include <new>
#include <utility>
#include <vector>

namespace quillmark::win32 {
namespace {

constexpr std::int32_t ArgumentCountMismatch = 450;

std::wstring Wide(BSTR text)
{
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

RuntimeError AutomationError(HRESULT hr)
{
    return RuntimeError(static_cast<std::int32_t>(hr),
                        "オートメーション エラーです。(0x" + HexDigits(static_cast<std::uint32_t>(hr), 8) + ")");
}

} // namespace

BSTR NewBstr(const std::string& utf8)
{
    const std::wstring text = Widen(utf8);
    BSTR made = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!made)
        throw std::bad_alloc();
    return made;
}

std::string ToUtf8(BSTR text)
{
    return Narrow(Wide(text));
}

VariantValue::VariantValue(std::int32_t number) : VariantValue()
{
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = number;
}

VariantValue::VariantValue(std::int16_t number) : VariantValue()
{
    V_VT(&value_) = VT_I2;
    V_I2(&value_) = number;
}

VariantValue::VariantValue(const std::string& text) : VariantValue()
{
    V_BSTR(&value_) = NewBstr(text);
    V_VT(&value_) = VT_BSTR;
}

VariantValue::VariantValue(IDispatch* object) : VariantValue()
{
    V_VT(&value_) = VT_DISPATCH;
    V_DISPATCH(&value_) = object;
    if (object)
        object->AddRef();
}

VariantValue VariantValue::ByRef(LONG* number)
{
    VariantValue v;
    V_VT(&v.value_) = VT_BYREF | VT_I4;
    V_I4REF(&v.value_) = number;
    return v;
}

VariantValue::VariantValue(VariantValue&& other) noexcept : value_(other.value_)
{
    ::VariantInit(&other.value_);
}

std::int32_t VariantValue::ToInt32() const
{
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_I4)))
        throw RuntimeError(err::TypeMismatch);
    return V_I4(&converted);
}

std::string VariantValue::ToString() const
{
    if (V_VT(&value_) == VT_BSTR)
        return ToUtf8(V_BSTR(&value_));
    VariantValue converted;
    if (FAILED(::VariantChangeType(converted.Get(), const_cast<VARIANT*>(&value_), 0, VT_BSTR)))
        throw RuntimeError(err::TypeMismatch);
    return ToUtf8(V_BSTR(converted.Get()));
}

ComPtr<IDispatch> VariantValue::ToObject() const
{
    switch (V_VT(&value_)) {
    case VT_DISPATCH: return ComPtr<IDispatch>(V_DISPATCH(&value_));
    case VT_UNKNOWN: {
        ComPtr<IDispatch> object;
        if (V_UNKNOWN(&value_) && FAILED(V_UNKNOWN(&value_)->QueryInterface(IID_PPV_ARGS(&object))))
            throw RuntimeError(err::ObjectRequired);
        return object;
    }
    case VT_EMPTY:
    case VT_NULL: return nullptr;
    default: throw RuntimeError(err::ObjectRequired);
    }
}

RuntimeError CallError(HRESULT hr, EXCEPINFO& excep)
{
    switch (hr) {
    case DISP_E_EXCEPTION: {
        if (excep.pfnDeferredFillIn)
            excep.pfnDeferredFillIn(&excep);
        const std::string description = ToUtf8(excep.bstrDescription);
        ::SysFreeString(excep.bstrSource);
        ::SysFreeString(excep.bstrDescription);
        ::SysFreeString(excep.bstrHelpFile);
        // The language's own errors travel as 0x800Annnn with the number in the low word.
        std::int32_t number = excep.wCode;
        if (number == 0)
            number = HRESULT_FACILITY(excep.scode) == FACILITY_CONTROL ? HRESULT_CODE(excep.scode)
                                                                       : static_cast<std::int32_t>(excep.scode);
        return description.empty() ? RuntimeError(number) : RuntimeError(number, description);
    }
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: return RuntimeError(err::MemberNotSupported);
    case DISP_E_TYPEMISMATCH: return RuntimeError(err::TypeMismatch);
    case DISP_E_OVERFLOW: return RuntimeError(err::Overflow);
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
        return RuntimeError(ArgumentCountMismatch,
                            "引数の数が一致していません。または不正なプロパティを指定しています。");
    case E_OUTOFMEMORY: return RuntimeError(7);
    default: return AutomationError(hr);
    }
}

DISPID DispatchObject::Id(const std::string& name) const
{
    if (const auto found = ids_.find(name); found != ids_.end())
        return found->second;
    if (!object_)
        throw RuntimeError(err::ObjectNotSet);
    std::wstring wideName = Widen(name);
    LPOLESTR names[] = {wideName.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        EXCEPINFO none{};
        throw CallError(hr, none);
    }
    ids_.emplace(name, id);
    return id;
}

VariantValue DispatchObject::Call(const std::string& name, std::initializer_list<VariantValue*> args) const
{
    const DISPID id = Id(name);
    // The callee reads its arguments last to first.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = std::rbegin(args); it != std::rend(args); ++it)
        reversed.push_back(*(*it)->Get());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VariantValue result;
    EXCEPINFO excep{};
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                       &params, result.Get(), &excep, nullptr);
    if (FAILED(hr))
        throw CallError(hr, excep);
    return result;
}

void DispatchObject::Put(const std::string& name, VariantValue value) const
{
    const DISPID id = Id(name);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{value.Get(), &named, 1, 1};
    EXCEPINFO excep{};
    const HRESULT hr =
        object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &excep, nullptr);
    if (FAILED(hr))
        throw CallError(hr, excep);
}

} // namespace quillmark::win32
