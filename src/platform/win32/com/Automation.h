#pragma once

// Late binding to another component's objects through IDispatch by name: text crosses as BSTR
// (UTF-16) and becomes UTF-8 here; a failure the object reports becomes a RuntimeError with
// its number and description.

#include "base/RuntimeError.h"
#include "platform/win32/SystemHeaders.h"

#include <wrl/client.h>

#include <initializer_list>
#include <string>
#include <unordered_map>

namespace quillmark::win32 {

using Microsoft::WRL::ComPtr;

// A new BSTR of the text, which the caller frees (or hands on); throws std::bad_alloc.
BSTR NewBstr(const std::string& utf8);
std::string ToUtf8(BSTR text);

// One VARIANT, cleared when it goes.
class VariantValue {
public:
    VariantValue() { ::VariantInit(&value_); }
    VariantValue(std::int32_t number);
    VariantValue(std::int16_t number);
    VariantValue(const std::string& text);
    VariantValue(IDispatch* object);
    // A reference to caller's number, written back by the callee.
    static VariantValue ByRef(LONG* number);
    ~VariantValue() { ::VariantClear(&value_); }
    VariantValue(VariantValue&& other) noexcept;
    VariantValue(const VariantValue&) = delete;
    VariantValue& operator=(const VariantValue&) = delete;

    VARIANT* Get() { return &value_; }

    // As the language converts: error 13 when the value does not convert.
    std::int32_t ToInt32() const;
    std::string ToString() const;
    // Nothing for an empty reference; error 424 for a value that is not an object.
    ComPtr<IDispatch> ToObject() const;

private:
    VARIANT value_;
};

// The RuntimeError for a failed call: DISP_E_EXCEPTION carries the callee's own number and
// description; other codes stand for the language's errors.
RuntimeError CallError(HRESULT hr, EXCEPINFO& excep);

// An object reached by name; each name is looked up once.
class DispatchObject {
public:
    explicit DispatchObject(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    IDispatch* Dispatch() const { return object_.Get(); }

    // Reads a property or calls a method, as late binding does; arguments in declaration order.
    // Throws RuntimeError.
    VariantValue Call(const std::string& name, std::initializer_list<VariantValue*> args = {}) const;
    void Put(const std::string& name, VariantValue value) const;

private:
    DISPID Id(const std::string& name) const;

    ComPtr<IDispatch> object_;
    mutable std::unordered_map<std::string, DISPID> ids_;
};

} // namespace quillmark::win32
