#include "codemodel/ModuleText.h"

#include "base/RuntimeError.h"
#include "codemodel/LineBreaks.h"
#include "platform/memory/LargeBuffer.h"

#include <algorithm>

namespace quillmark {

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
    Pad();
}

ModuleText::ModuleText(std::string text, LineStarts starts) : text_(std::move(text)), starts_(std::move(starts))
{
    starts_.Add(text_.size());
    Pad();
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

void ModuleText::Pad()
{
    // A text without room for the padding moves once, into memory that may be backed by large
    // pages: a large module copied a small page at a time costs more than scanning it.
    if (text_.capacity() - text_.size() < Padding) {
        std::string padded;
        padded.reserve(text_.size() + Padding);
        AdviseLargeBuffer(padded.data(), padded.capacity());
        padded.append(text_);
        text_ = std::move(padded);
    }
    text_.append(Padding, '\0');
}

} // namespace quillmark
