#include "codemodel/LineStarts.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

TEST(LineStarts, HoldStartsBeyondFourGibibytes)
{
    constexpr std::size_t GiB4 = std::size_t{1} << 32;
    const std::vector<std::size_t> starts = {0, 10, GiB4 - 1, GiB4, GiB4 + 5, 3 * GiB4 + 1, 3 * GiB4 + 2};
    LineStarts lines;
    for (const std::size_t start : starts)
        lines.Add(start);
    ASSERT_EQ(lines.Count(), starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_EQ(lines[i], starts[i]) << i;
}

} // namespace
} // namespace quillmark
