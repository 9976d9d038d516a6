#include "codemodel/ControlCharacters.h"

#include "codemodel/ByteBlocks.h"

#include <algorithm>
#include <string_view>

namespace quillmark {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// Every C0 control becomes U+FFFD, but for the ones that are kept.
std::string ReplaceControlsExcept(std::string text, std::string_view kept)
{
    const auto isControl = [kept](char c) {
        return static_cast<unsigned char>(c) < 0x20 && kept.find(c) == std::string_view::npos;
    };
    std::size_t at = 0;
    bool found = false;
    for (; !found && at + byteblocks::Size <= text.size(); at += byteblocks::Size)
        found = byteblocks::HasByteBelow(byteblocks::Load(text.data() + at), 0x20) &&
                std::any_of(text.data() + at, text.data() + at + byteblocks::Size, isControl);
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
    return ReplaceControlsExcept(std::move(text), "\t\r\n");
}

std::string NameText(std::string text)
{
    return ReplaceControlsExcept(std::move(text), {});
}

} // namespace quillmark
