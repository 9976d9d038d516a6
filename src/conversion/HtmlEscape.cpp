#include "conversion/HtmlEscape.h"

#include "codemodel/ByteBlocks.h"

#include <algorithm>

namespace quillmark {

namespace {

std::string_view Entity(char c, bool quotes)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return quotes ? "&quot;" : std::string_view();
    default: return {};
    }
}

void AppendEscaped(std::string_view text, bool quotes, std::string& out)
{
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view entity = Entity(text[i], quotes);
        if (entity.empty())
            continue;
        out.append(text, copied, i - copied);
        out += entity;
        copied = i + 1;
    }
    out.append(text, copied);
}

} // namespace

std::string_view EscapeCodeText(std::string_view text, std::string& buffer)
{
    // Most lines of code hold none of the three: eight bytes at a time until one may.
    std::size_t at = 0;
    while (at + byteblocks::Size <= text.size()) {
        const std::uint64_t block = byteblocks::Load(text.data() + at);
        if (byteblocks::HasByte(block, '&') || byteblocks::HasByte(block, '<') || byteblocks::HasByte(block, '>'))
            break;
        at += byteblocks::Size;
    }
    const auto special = [](char c) { return c == '&' || c == '<' || c == '>'; };
    if (std::none_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), special))
        return text;
    buffer.assign(text.substr(0, at));
    AppendEscaped(text.substr(at), false, buffer);
    return buffer;
}

std::string EscapeName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    AppendEscaped(name, true, out);
    return out;
}

} // namespace quillmark
