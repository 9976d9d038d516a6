#include "codemodel/LineStarts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quillmark {
namespace {

TEST(LineStarts, HoldStartsBeyondFourGibibytes)
{
    if (sizeof(std::size_t) < sizeof(std::uint64_t))
        GTEST_SKIP() << "no text reaches 4 GiB where sizes have 32 bits";
    constexpr std::uint64_t GiB4 = std::uint64_t{1} << 32;
    const std::vector<std::uint64_t> starts = {0, 10, GiB4 - 1, GiB4, GiB4 + 5, 3 * GiB4 + 1, 3 * GiB4 + 2};
    LineStarts lines;
    for (const std::uint64_t start : starts)
        lines.Add(static_cast<std::size_t>(start));
    ASSERT_EQ(lines.Count(), starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_EQ(lines[i], static_cast<std::size_t>(starts[i])) << i;
}

} // namespace
} // namespace quillmark
