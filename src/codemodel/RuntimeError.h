#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillmark {

// A run-time failure as the message boxes report it: a number and its description.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, std::string description);
    explicit RuntimeError(std::int32_t number); // with the standard description of that number

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    std::int32_t number_;
    std::string description_;
};

namespace err {
inline constexpr std::int32_t InvalidCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t ProcedureNotDefined = 35;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t ObjectRequired = 424;
inline constexpr std::int32_t MemberNotSupported = 438;
inline constexpr std::int32_t DuplicateKey = 457;
inline constexpr std::int32_t ProjectProtected = 50289;
} // namespace err

// The standard description of an error number (empty for an unknown number).
std::string ErrorDescription(std::int32_t number);

// "Error_Number: N.  : DESCRIPTION" followed, in the full form, by CR LF "<Erl>  In_Line: 0".
std::string ErrorReport(const RuntimeError& error);
std::string ShortErrorReport(const RuntimeError& error);

// Turns any exception escaping a step into the RuntimeError it stands for.
RuntimeError CurrentError();

// Signed 32-bit arithmetic that fails with error 6 instead of wrapping.
std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSub(std::int32_t a, std::int32_t b);

} // namespace quillmark
