#include "conversion/HtmlEscape.h"

#include "codemodel/ByteBlocks.h"

#include <algorithm>

namespace quillmark {

bool NeedsCodeEscape(std::string_view text, bool padded)
{
    // Most lines of code hold none of the three: sixteen bytes at a time until some may. "<" and
    // ">" differ in one bit only, so one test finds both.
    constexpr std::uint64_t ampersands = byteblocks::Ones * '&';
    constexpr std::uint64_t angles = byteblocks::Ones * '>';
    constexpr std::uint64_t angleBit = byteblocks::Ones * ('<' ^ '>');
    const auto special = [&](std::uint64_t block) {
        return byteblocks::HasByteBelow(block ^ ampersands, 1) |
               byteblocks::HasByteBelow((block | angleBit) ^ angles, 1);
    };
    const char* at = text.data();
    const std::size_t n = text.size();
    if (padded) {
        // Vectors read past the end, the bytes there left out.
        using byteblocks::Vector;
        constexpr Vector positions = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        for (std::size_t done = 0; done < n; done += byteblocks::VectorSize) {
            Vector bytes;
            byteblocks::LoadVector(at + done, bytes);
            const Vector marks = Vector(bytes == '&') | Vector((bytes | ('<' ^ '>')) == '>');
            const Vector inside = Vector(positions < static_cast<std::uint8_t>(std::min<std::size_t>(n - done, 16)));
            if (byteblocks::AnyMarked(marks & inside))
                return true;
        }
        return false;
    }
    if (n < byteblocks::Size)
        return std::any_of(at, at + n, [](char c) { return !CodeEntity(c).empty(); });
    const char* const last = at + n - byteblocks::Size; // the last block, which may overlap the one before
    for (; last - at >= 16; at += 16)
        if (special(byteblocks::Load(at)) | special(byteblocks::Load(at + 8)))
            return true;
    for (; at < last; at += byteblocks::Size)
        if (special(byteblocks::Load(at)))
            return true;
    return special(byteblocks::Load(last));
}

namespace {

// Appends text with each character that entityOf names replaced by its entity. Runs are copied
// whole: a call per character is slow where each call may throw (WebAssembly).
template <typename EntityOf>
void AppendEscaped(std::string_view text, std::string& out, EntityOf entityOf)
{
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view entity = entityOf(text[i]);
        if (entity.empty())
            continue;
        out.append(text, copied, i - copied);
        out += entity;
        copied = i + 1;
    }
    out.append(text, copied);
}

} // namespace

void AppendCodeText(std::string_view text, std::string& out)
{
    AppendEscaped(text, out, CodeEntity);
}

std::size_t EscapedCodeSize(std::string_view text)
{
    std::size_t size = text.size();
    for (const char c : text)
        if (const std::string_view entity = CodeEntity(c); !entity.empty())
            size += entity.size() - 1;
    return size;
}

std::string EscapeName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    AppendEscaped(name, out, [](char c) { return c == '"' ? std::string_view("&quot;") : CodeEntity(c); });
    return out;
}

} // namespace quillmark
