#include "codemodel/ControlCharacters.h"

#include "codemodel/ByteBlocks.h"

#include <algorithm>
#include <string_view>

namespace quillmark {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// Every C0 control becomes U+FFFD, but for the ones that are kept.
template <char... Kept>
std::string ReplaceControlsExcept(std::string text)
{
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 && ((c != Kept) && ...); };
    // Eight bytes at a time; the tabs and line breaks that most blocks of code hold are told
    // apart without a look at each byte.
    const auto controls = [](std::uint64_t block) {
        const std::uint64_t kept = (std::uint64_t{0} | ... | byteblocks::BytesEqual(block, Kept));
        return byteblocks::BytesBelow(block, 0x20) & ~kept;
    };
    std::size_t at = 0;
    bool found = false;
    for (; !found && at + 2 * byteblocks::Size <= text.size(); at += 2 * byteblocks::Size)
        found = (controls(byteblocks::Load(text.data() + at)) | controls(byteblocks::Load(text.data() + at + 8))) != 0;
    if (!found && std::none_of(text.data() + at, text.data() + text.size(), isControl))
        return text;
    std::string out;
    out.reserve(text.size() + 16);
    for (const char c : text) {
        if (isControl(c))
            out += Replacement;
        else
            out += c;
    }
    return out;
}

} // namespace

std::string ReplaceControlCharacters(std::string text)
{
    return ReplaceControlsExcept<'\t', '\r', '\n'>(std::move(text));
}

std::string NameText(std::string text)
{
    return ReplaceControlsExcept<>(std::move(text));
}

} // namespace quillmark
