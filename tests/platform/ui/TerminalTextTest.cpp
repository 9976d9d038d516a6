#include "platform/ui/TerminalText.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

TEST(TerminalText, ControlsAndBytesThatAreNoTextAreEscapedAndTextIsKept)
{
    const struct {
        std::string_view text;
        const char* shown;
        const char* shownKeepingBreaks;
    } cases[] = {
        {"Ledger.cls", "Ledger.cls", "Ledger.cls"},
        {"\x1b]0;owned\x07x.bas", "\\x1b]0;owned\\x07x.bas", "\\x1b]0;owned\\x07x.bas"},
        {"a\tb\x7f", "a\\x09b\\x7f", "a\\x09b\\x7f"},
        {std::string_view("nul\0.bas", 8), "nul\\x00.bas", "nul\\x00.bas"},
        {"売上\xc2\x85\xc2\x9f\xc2\xa0é", "売上\\xc2\\x85\\xc2\\x9f\xc2\xa0é", "売上\\xc2\\x85\\xc2\\x9f\xc2\xa0é"},
        // Not UTF-8: a CP1252 byte, a lone trail byte, an overlong slash, a surrogate, a cut sequence.
        {"caf\xe9 \x80 \xc0\xaf \xed\xa0\x80 \xe5\xa3", "caf\\xe9 \\x80 \\xc0\\xaf \\xed\\xa0\\x80 \\xe5\\xa3",
         "caf\\xe9 \\x80 \\xc0\\xaf \\xed\\xa0\\x80 \\xe5\\xa3"},
        {"one\r\ntwo\nthree\rfour", "one\\x0d\\x0atwo\\x0athree\\x0dfour", "one\ntwo\nthree\nfour"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalText(c.text), c.shown) << c.shown;
        EXPECT_EQ(TerminalText(c.text, LineBreaks::Kept), c.shownKeepingBreaks) << c.shown;
    }
}

} // namespace
} // namespace quillmark
