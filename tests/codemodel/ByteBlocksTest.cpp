// The exact masks of eight-byte blocks: each byte's answer is its own, whatever its neighbours
// (a carry or borrow from one byte into the next would leak), so they are checked for every
// byte value in every position among neighbours that provoke such leaks.
#include "codemodel/ByteBlocks.h"

#include <gtest/gtest.h>

namespace quillmark::test {
namespace {

TEST(ByteBlocks, MasksAnswerForEachByteAlone)
{
    using namespace byteblocks;
    for (const unsigned neighbour : {0x00u, 0x01u, 0x1Fu, 0x20u, 0x7Fu, 0x80u, 0x9Fu, 0xFFu}) {
        for (unsigned value = 0; value < 256; ++value) {
            for (unsigned position = 0; position < 8; ++position) {
                unsigned char bytes[8];
                for (unsigned i = 0; i < 8; ++i)
                    bytes[i] = static_cast<unsigned char>(i == position ? value : neighbour);
                const std::uint64_t block = Load(reinterpret_cast<const char*>(bytes));
                std::uint64_t equal = 0;
                std::uint64_t below = 0;
                for (unsigned i = 0; i < 8; ++i) {
                    unsigned char byte[8] = {};
                    byte[i] = 0x80;
                    const std::uint64_t high = Load(reinterpret_cast<const char*>(byte));
                    equal |= bytes[i] == '\r' ? high : 0;
                    below |= bytes[i] < 0x20 ? high : 0;
                }
                ASSERT_EQ(BytesEqual(block, '\r'), equal) << value << " at " << position << " among " << neighbour;
                ASSERT_EQ(BytesBelow(block, 0x20), below) << value << " at " << position << " among " << neighbour;
            }
        }
    }
}

TEST(ByteBlocks, SkipStopsAtTheFirstOtherByte)
{
    const struct {
        std::string_view text;
        std::size_t from;
        std::size_t blanks; // where the first byte other than space and tab is
        std::size_t spaces; // other than space
    } cases[] = {
        {"", 0, 0, 0},
        {"   ", 0, 3, 3},
        {"        x", 0, 8, 8},
        {"  \t x", 0, 4, 2},
        {"\t\t\t\t\t\t\t\t\t", 0, 9, 0},
        {"            ' note", 0, 12, 12},
        {"x       y", 1, 8, 8},
        {"a b", 3, 3, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ((byteblocks::Skip<' ', '\t'>(c.text, c.from)), c.blanks) << c.text;
        EXPECT_EQ(byteblocks::Skip<' '>(c.text, c.from), c.spaces) << c.text;
    }
}

} // namespace
} // namespace quillmark::test
