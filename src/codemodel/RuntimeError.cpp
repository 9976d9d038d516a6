#include "codemodel/RuntimeError.h"

#include <new>

namespace quillmark {

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description))
{}

RuntimeError::RuntimeError(std::int32_t number) : RuntimeError(number, ErrorDescription(number))
{}

std::string ErrorDescription(std::int32_t number)
{
    switch (number) {
    case err::InvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case err::Overflow: return "オーバーフローしました。";
    case 7: return "メモリが不足しています。";
    case err::SubscriptOutOfRange: return "インデックスが有効範囲にありません。";
    case err::DivisionByZero: return "0 で除算しました。";
    case err::TypeMismatch: return "型が一致しません。";
    case err::ProcedureNotDefined: return "Sub または Function が定義されていません。";
    case err::ObjectNotSet: return "オブジェクト変数または With ブロック変数が設定されていません。";
    case err::ObjectRequired: return "オブジェクトが必要です。";
    case err::MemberNotSupported: return "オブジェクトは、このプロパティまたはメソッドをサポートしていません。";
    case err::DuplicateKey: return "このキーは既にこのコレクションの要素に割り当てられています。";
    case err::ProjectProtected: return "Can't perform operation since the project is protected.";
    default: return {};
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
        return RuntimeError(7);
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
