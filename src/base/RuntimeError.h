#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace quillmark {

// Where a failure happened, as far as it is known: the file or folder, the module in it and the
// module's line (1-based; 0 when not known).
struct ErrorPlace {
    ErrorPlace(std::string path = {}, std::string module = {}, std::int32_t line = 0)
        : path(std::move(path)), module(std::move(module)), line(line)
    {}

    std::string path;
    std::string module;
    std::int32_t line;
};

// A failure, the one type in which every part of the system reports one. It carries what the
// window's and the add-in's message boxes show, a run-time error number and its description,
// and what a command prints: where it happened and the problem in plain words, "PATH: module
// M, line N: PROBLEM", and whether the command was asked wrongly.
class RuntimeError : public std::runtime_error {
public:
    // What a command that meets the failure ends with.
    enum class Kind { Failed, BadUsage };

    explicit RuntimeError(std::int32_t number); // with the standard description of that number
    RuntimeError(std::int32_t number, std::string description);
    // A failure at place, told in plain words; the description is the number's own.
    RuntimeError(std::int32_t number, ErrorPlace place, std::string problem, Kind kind = Kind::Failed);

    // A step on a file that failed, told as "OPERATION PATH: REASON" ("cannot write out.html:
    // Is a directory").
    static RuntimeError OperationFailed(std::int32_t number, std::string operation, std::string path,
                                        std::string reason);
    // The same for a step that the system refused with error (an errno value).
    static RuntimeError SystemFailure(int error, std::string operation, std::string path);

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    // The problem in plain words; the description when none was given.
    const std::string& Problem() const { return problem_.empty() ? description_ : problem_; }
    const ErrorPlace& Place() const { return place_; }
    // The step that failed ("cannot write"); empty when the failure is not told as one.
    const std::string& Operation() const { return operation_; }
    Kind GetKind() const { return kind_; }

    // Fills in the parts of the place that the code which raised the failure could not know,
    // such as the file of a module that failed on a line.
    void Locate(const ErrorPlace& outer);

    // What a command prints: "PATH: module M, line N: PROBLEM", as far as the place is known.
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    void Compose();

    std::int32_t number_;
    std::string description_;
    ErrorPlace place_;
    std::string problem_;
    std::string operation_;
    Kind kind_ = Kind::Failed;
    std::string message_;
};

namespace err {
inline constexpr std::int32_t InvalidCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t ProcedureNotDefined = 35;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t BadFileFormat = 321;
inline constexpr std::int32_t ObjectRequired = 424;
inline constexpr std::int32_t MemberNotSupported = 438;
inline constexpr std::int32_t DuplicateKey = 457;
inline constexpr std::int32_t ProjectProtected = 50289;
} // namespace err

// The standard description of an error number (empty for an unknown number).
std::string ErrorDescription(std::int32_t number);

// The run-time error number of a failure the system reports with error (an errno value).
std::int32_t SystemErrorNumber(int error);

// "Error_Number: N.  : DESCRIPTION" followed, in the full form, by CR LF "<Erl>  In_Line: 0".
std::string ErrorReport(const RuntimeError& error);
std::string ShortErrorReport(const RuntimeError& error);

// Turns any exception escaping a step into the RuntimeError it stands for: the one place where
// the standard library's exceptions (out of memory, file system errors) become ours.
RuntimeError CurrentError();

// Signed 32-bit arithmetic that fails with error 6 instead of wrapping.
std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSub(std::int32_t a, std::int32_t b);

} // namespace quillmark
