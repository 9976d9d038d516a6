#include "codemodel/ModuleText.h"

#include "codemodel/LineBreaks.h"
#include "codemodel/RuntimeError.h"

#include <algorithm>

namespace quillmark {

namespace {

// The length of the line break that ends the line from start to the next line's start (or
// the text's end); a line holds no CR or LF, so its own bytes are never taken for its break.
std::size_t BreakBefore(const char* text, std::size_t start, std::size_t next)
{
    if (next == start)
        return 0;
    const char last = text[next - 1];
    if (last == '\n')
        return next - start >= 2 && text[next - 2] == '\r' ? 2 : 1;
    return last == '\r' ? 1 : 0;
}

} // namespace

ModuleText::ModuleText(std::string text) : text_(std::move(text))
{
    LineBreaks breaks(text_);
    const std::size_t n = text_.size();
    for (std::size_t start = 0; start < n;) {
        const LineBreaks::Break lineBreak = breaks.Next(start);
        starts_.Add(start);
        start = lineBreak.at + lineBreak.length;
        if (lineBreak.length == 0)
            break;
    }
    starts_.Add(n);
}

ModuleText::ModuleText(std::string text, LineStarts starts) : text_(std::move(text)), starts_(std::move(starts))
{
    starts_.Add(text_.size());
}

ModuleText ModuleText::FromLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return ModuleText(std::move(text));
}

std::string_view ModuleText::Line(std::int32_t number) const
{
    const auto index = static_cast<std::size_t>(number) - 1;
    if (number < 1 || index + 1 >= starts_.Count())
        return {};
    const auto [start, next] = starts_.StartAndNext(index);
    return {text_.data() + start, next - start - BreakBefore(text_.data(), start, next)};
}

std::string ModuleText::Join(std::int32_t first, std::int32_t count) const
{
    if (first < 1 || count < 0)
        throw RuntimeError(err::InvalidCall);
    // Lines past the end are empty and the range is clipped there, so a huge count costs nothing.
    const std::int64_t last = std::min<std::int64_t>(std::int64_t{first} + count - 1, Count());
    std::string out;
    for (std::int64_t number = first; number <= last; ++number) {
        if (number > first)
            out += "\r\n";
        out += Line(static_cast<std::int32_t>(number));
    }
    return out;
}

} // namespace quillmark
