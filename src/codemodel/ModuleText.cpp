#include "codemodel/ModuleText.h"

#include "base/RuntimeError.h"
#include "codemodel/LineBreaks.h"
#include "platform/memory/LargeBuffer.h"

#include <algorithm>

namespace quillmark {

namespace {

std::string WithRoomForPadding(std::string_view text)
{
    std::string copy;
    copy.reserve(text.size() + ModuleText::Padding);
    AdviseLargeBuffer(copy.data(), copy.capacity());
    copy.append(text);
    return copy;
}

} // namespace

ModuleText::ModuleText(const std::string& text) : ModuleText(WithRoomForPadding(text)) {}

ModuleText::ModuleText(std::string&& text) : text_(std::move(text))
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
    // A text without room for the padding moves once.
    if (text_.capacity() - text_.size() < Padding)
        text_ = WithRoomForPadding(text_);
    text_.append(Padding, '\0');
}

} // namespace quillmark
