#include "conversion/HtmlEscape.h"

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
    if (std::none_of(text.begin(), text.end(), [](char c) { return c == '&' || c == '<' || c == '>'; }))
        return text;
    buffer.clear();
    AppendEscaped(text, false, buffer);
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
