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
    // A vector at a time; the tabs and line breaks that most stretches of code hold are told
    // apart without a look at each byte.
    std::size_t at = 0;
    bool found = false;
    for (; !found && at + byteblocks::VectorSize <= text.size(); at += byteblocks::VectorSize) {
        byteblocks::Vector bytes;
        byteblocks::LoadVector(text.data() + at, bytes);
        auto controls = byteblocks::Vector(bytes < 0x20);
        ((controls &= ~byteblocks::Vector(bytes == Kept)), ...);
        found = byteblocks::AnyMarked(controls);
    }
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
