#include "base/RuntimeError.h"

#include "base/PathText.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

namespace quillmark {

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description))
{
    Compose();
}

RuntimeError::RuntimeError(std::int32_t number) : RuntimeError(number, ErrorDescription(number))
{}

RuntimeError::RuntimeError(std::int32_t number, ErrorPlace place, std::string problem, Kind kind)
    : std::runtime_error(problem), number_(number), description_(ErrorDescription(number)), place_(std::move(place)),
      problem_(std::move(problem)), kind_(kind)
{
    Compose();
}

RuntimeError RuntimeError::OperationFailed(std::int32_t number, std::string operation, std::string path,
                                           std::string reason)
{
    RuntimeError failure(number, {std::move(path)}, std::move(reason));
    failure.operation_ = std::move(operation);
    failure.Compose();
    return failure;
}

RuntimeError RuntimeError::SystemFailure(int error, std::string operation, std::string path)
{
    return OperationFailed(SystemErrorNumber(error), std::move(operation), std::move(path), std::strerror(error));
}

void RuntimeError::Locate(const ErrorPlace& outer)
{
    if (place_.path.empty())
        place_.path = outer.path;
    if (place_.module.empty())
        place_.module = outer.module;
    if (place_.line == 0)
        place_.line = outer.line;
    Compose();
}

void RuntimeError::Compose()
{
    std::string place = place_.path;
    if (!place_.module.empty()) {
        place += (place.empty() ? "module " : ": module ") + place_.module;
        if (place_.line > 0)
            place += ", line " + std::to_string(place_.line);
    } else if (place_.line > 0) {
        place += (place.empty() ? "line " : ": line ") + std::to_string(place_.line);
    }
    if (!operation_.empty())
        message_ = operation_ + " " + place + ": " + Problem();
    else if (!place.empty())
        message_ = place + ": " + Problem();
    else
        message_ = Problem();
}

std::string ErrorDescription(std::int32_t number)
{
    switch (number) {
    case err::InvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case err::Overflow: return "オーバーフローしました。";
    case err::OutOfMemory: return "メモリが不足しています。";
    case err::SubscriptOutOfRange: return "インデックスが有効範囲にありません。";
    case err::DivisionByZero: return "0 で除算しました。";
    case err::TypeMismatch: return "型が一致しません。";
    case err::ProcedureNotDefined: return "Sub または Function が定義されていません。";
    case err::FileNotFound: return "ファイルが見つかりません。";
    case err::PermissionDenied: return "書き込みできません。";
    case err::PathFileAccess: return "パス名が無効です。";
    case err::ObjectNotSet: return "オブジェクト変数または With ブロック変数が設定されていません。";
    case err::BadFileFormat: return "ファイル形式が不正です。";
    case err::ObjectRequired: return "オブジェクトが必要です。";
    case err::MemberNotSupported: return "オブジェクトは、このプロパティまたはメソッドをサポートしていません。";
    case err::DuplicateKey: return "このキーは既にこのコレクションの要素に割り当てられています。";
    case err::ProjectProtected: return "Can't perform operation since the project is protected.";
    default: return {};
    }
}

std::int32_t SystemErrorNumber(int error)
{
    switch (error) {
    case ENOENT: return err::FileNotFound;
    case EACCES:
    case EPERM: return err::PermissionDenied;
    case ENOMEM: return err::OutOfMemory;
    default: return err::PathFileAccess;
    }
}

std::string ShortErrorReport(const RuntimeError& error)
{
    return "Error_Number: " + std::to_string(error.Number()) + ".  : " + error.Description();
}

std::string ErrorReport(const RuntimeError& error)
{
    return ShortErrorReport(error) + "\r\n<Erl>  In_Line: 0";
}

RuntimeError CurrentError()
{
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        // The message boxes show the run-time error's description; a command, the problem.
        return RuntimeError(err::OutOfMemory, {}, "out of memory");
    } catch (const std::filesystem::filesystem_error& e) {
        return RuntimeError(SystemErrorNumber(e.code().value()), {Utf8FromPath(e.path1())}, e.code().message());
    } catch (const std::out_of_range&) {
        return RuntimeError(err::SubscriptOutOfRange);
    } catch (const std::exception& e) {
        return RuntimeError(err::InvalidCall, e.what());
    }
}

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw RuntimeError(err::Overflow);
    return r;
}

std::int32_t CheckedSub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        throw RuntimeError(err::Overflow);
    return r;
}

} // namespace quillmark
