#include "codemodel/CodeSyntax.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmark::syntax {
namespace {

// Each line's first "#": the literal it opens, as the line writes it, or nothing.
TEST(CodeSyntax, DateLiteralsAsTheirGrammarReadsThem)
{
    const struct {
        const char* line;
        const char* literal;
    } cases[] = {
        {"#1/2/2000#", "#1/2/2000#"},
        {"x = #12:30:00 PM#)", "#12:30:00 PM#"},
        {"(#1-2-2000 8:00:00 am#", "#1-2-2000 8:00:00 am#"},
        {"# January 5, 2001 #", "# January 5, 2001 #"},
        {"#jan 5 2001 8 p#", "#jan 5 2001 8 p#"},
        {"#8 AM#", "#8 AM#"},
        {"#1.30#", "#1.30#"},
        {"#1 2#", "#1 2#"},
        {"#1#", ""},       // neither a date nor a time
        {"#1/2/3/4#", ""}, // a fourth part
        {"#1:2:3:4#", ""},
        {"#1/2/2000 8#", ""}, // an hour alone needs AM or PM
        {"#Janu 5#", ""},     // no month
        {"#1, a#, b#", ""},   // a file number
        {"#If X Then #1/2#", ""},
        {"#1/2", ""},
        {"#1/\"2\"#", ""},
        {"x#1/2#", ""}, // a type character
        {"値#1/2#", ""},
        {"1#", ""},
    };
    for (const auto& c : cases) {
        const std::string_view line = c.line;
        const std::size_t hash = line.find('#');
        const std::size_t end = DateLiteralEnd(line, hash);
        EXPECT_EQ(end == npos ? "" : line.substr(hash, end - hash + 1), c.literal) << c.line;
    }
}

} // namespace
} // namespace quillmark::syntax
