#include "base/RuntimeError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>

namespace quillmark {
namespace {

// What a command prints says where as far as it is known; a message box's number and
// description stay the run-time error's.
TEST(RuntimeError, MessageSaysWhereAsFarAsItIsKnown)
{
    const struct {
        RuntimeError error;
        const char* message;
    } cases[] = {
        {RuntimeError(err::SubscriptOutOfRange), "インデックスが有効範囲にありません。"},
        {RuntimeError(err::FileNotFound, "there is no library x.so"), "there is no library x.so"},
        {RuntimeError(err::FileNotFound, {"/p/A.bas"}, "no such file or folder"), "/p/A.bas: no such file or folder"},
        {RuntimeError(err::InvalidCall, {"/p", "M", 9}, "unterminated string literal"),
         "/p: module M, line 9: unterminated string literal"},
        {RuntimeError(err::InvalidCall, {{}, "M"}, "x"), "module M: x"},
        {RuntimeError(err::PathFileAccess, {{}, {}, 3}, "a key line is [KEY PATH]"),
         "line 3: a key line is [KEY PATH]"},
        {RuntimeError(err::ObjectNotSet, {"/p", "M"}, {}),
         "/p: module M: オブジェクト変数または With ブロック変数が設定されていません。"},
        {RuntimeError::SystemFailure(EISDIR, "cannot write", "out.html"), "cannot write out.html: Is a directory"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.Message(), c.message);
        EXPECT_STREQ(c.error.what(), c.message);
    }
    const RuntimeError placed(err::InvalidCall, {"/p", "M", 9}, "unterminated string literal");
    EXPECT_EQ(ShortErrorReport(placed), "Error_Number: 5.  : プロシージャの呼び出し、または引数が不正です。");
}

TEST(RuntimeError, LocateFillsInOnlyWhatTheRaiserDidNotKnow)
{
    RuntimeError error(err::InvalidCall, {{}, "M", 4}, "unterminated string literal");
    error.Locate({"/p", "Other", 7});
    EXPECT_EQ(error.Message(), "/p: module M, line 4: unterminated string literal");
    RuntimeError unplaced(err::Overflow);
    unplaced.Locate({"/p", "M"});
    EXPECT_EQ(unplaced.Message(), "/p: module M: オーバーフローしました。");
}

TEST(RuntimeError, TheStandardLibrarysFailuresBecomeNumberedErrors)
{
    namespace fs = std::filesystem;
    const struct {
        std::function<void()> raise;
        std::int32_t number;
        const char* message;
    } cases[] = {
        {[] { throw std::bad_alloc(); }, err::OutOfMemory, "out of memory"},
        {[] { throw std::out_of_range("at"); }, err::SubscriptOutOfRange, "インデックスが有効範囲にありません。"},
        {[] { throw fs::filesystem_error("f", "/p/x", std::make_error_code(std::errc::no_such_file_or_directory)); },
         err::FileNotFound, "/p/x: No such file or directory"},
        {[] { throw fs::filesystem_error("f", "/p/x", std::make_error_code(std::errc::permission_denied)); },
         err::PermissionDenied, "/p/x: Permission denied"},
        {[] { throw RuntimeError(err::Overflow); }, err::Overflow, "オーバーフローしました。"},
    };
    for (const auto& c : cases) {
        try {
            c.raise();
        } catch (...) {
            const RuntimeError error = CurrentError();
            EXPECT_EQ(error.Number(), c.number) << c.message;
            EXPECT_EQ(error.Message(), c.message);
            EXPECT_EQ(error.Description(), ErrorDescription(c.number)) << c.message; // the message box's
        }
    }
}

} // namespace
} // namespace quillmark
