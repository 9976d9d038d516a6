#pragma once

#include "platform/com/Unknown.h"

#include <cstdint>
#include <string>
#include <variant>

namespace quillmark::com {

// The argument and result type of late-bound calls: empty, a 16-bit boolean, whole numbers,
// a double, text or an object reference (an empty reference is Nothing).
class Variant {
public:
    enum class Type { Empty, Bool, Int16, Int32, Double, String, Object };

    Variant() = default;
    Variant(bool v) : value_(v) {}
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(ComPtr<IUnknown> v) : value_(std::move(v)) {}

    static Variant Nothing() { return Variant(ComPtr<IUnknown>()); }

    Type GetType() const { return static_cast<Type>(value_.index()); }
    bool IsEmpty() const { return GetType() == Type::Empty; }

    // Conversions as the language makes them; error 13 when the value cannot be converted,
    // error 6 when a number does not fit.
    bool ToBool() const;
    std::int16_t ToInt16() const;
    std::int32_t ToInt32() const;
    double ToDouble() const;
    std::string ToString() const;
    // Error 424 unless the value is an object reference (Nothing included).
    ComPtr<IUnknown> ToObject() const;

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::monostate, bool, std::int16_t, std::int32_t, double, std::string, ComPtr<IUnknown>> value_;
};

} // namespace quillmark::com
