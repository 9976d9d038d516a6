#include "platform/com/Variant.h"

#include "base/RuntimeError.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace quillmark::com {
namespace {

// Rounds half to even, as the language converts a double to a whole number.
template <class Int>
Int RoundToInt(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw RuntimeError(err::Overflow);
    return static_cast<Int>(r);
}

} // namespace

bool Variant::ToBool() const
{
    switch (GetType()) {
    case Type::Empty: return false;
    case Type::Bool: return std::get<bool>(value_);
    case Type::Int16: return std::get<std::int16_t>(value_) != 0;
    case Type::Int32: return std::get<std::int32_t>(value_) != 0;
    case Type::Double: return std::get<double>(value_) != 0.0;
    case Type::String: {
        const std::string& s = std::get<std::string>(value_);
        if (s == "True" || s == "true" || s == "TRUE")
            return true;
        if (s == "False" || s == "false" || s == "FALSE")
            return false;
        return ToDouble() != 0.0;
    }
    case Type::Object: break;
    }
    throw RuntimeError(err::TypeMismatch);
}

std::int32_t Variant::ToInt32() const
{
    switch (GetType()) {
    case Type::Empty: return 0;
    case Type::Bool: return std::get<bool>(value_) ? -1 : 0;
    case Type::Int16: return std::get<std::int16_t>(value_);
    case Type::Int32: return std::get<std::int32_t>(value_);
    case Type::Double:
    case Type::String: return RoundToInt<std::int32_t>(ToDouble());
    case Type::Object: break;
    }
    throw RuntimeError(err::TypeMismatch);
}

std::int16_t Variant::ToInt16() const
{
    const std::int32_t v = ToInt32();
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(err::Overflow);
    return static_cast<std::int16_t>(v);
}

double Variant::ToDouble() const
{
    switch (GetType()) {
    case Type::Empty: return 0.0;
    case Type::Bool: return std::get<bool>(value_) ? -1.0 : 0.0;
    case Type::Int16: return std::get<std::int16_t>(value_);
    case Type::Int32: return std::get<std::int32_t>(value_);
    case Type::Double: return std::get<double>(value_);
    case Type::String: {
        const std::string& s = std::get<std::string>(value_);
        try {
            std::size_t used = 0;
            const double v = std::stod(s, &used);
            if (s.find_first_not_of(' ', used) == std::string::npos)
                return v;
        } catch (const std::invalid_argument&) {
        } catch (const std::out_of_range&) {
            throw RuntimeError(err::Overflow);
        }
        break;
    }
    case Type::Object: break;
    }
    throw RuntimeError(err::TypeMismatch);
}

std::string Variant::ToString() const
{
    switch (GetType()) {
    case Type::Empty: return {};
    case Type::Bool: return std::get<bool>(value_) ? "True" : "False";
    case Type::Int16: return std::to_string(std::get<std::int16_t>(value_));
    case Type::Int32: return std::to_string(std::get<std::int32_t>(value_));
    case Type::Double: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", std::get<double>(value_));
        return buffer;
    }
    case Type::String: return std::get<std::string>(value_);
    case Type::Object: break;
    }
    throw RuntimeError(err::TypeMismatch);
}

ComPtr<IUnknown> Variant::ToObject() const
{
    if (GetType() != Type::Object)
        throw RuntimeError(err::ObjectRequired);
    return std::get<ComPtr<IUnknown>>(value_);
}

} // namespace quillmark::com
