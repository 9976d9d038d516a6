#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// What code text becomes in HTML: "&" as "&amp;", "<" as "&lt;", ">" as "&gt;"; quotes stay as
// they are. Empty for a character that stays itself.
constexpr std::string_view CodeEntity(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return {};
    }
}

// Whether text holds a character that CodeEntity changes. padded: at least 16 bytes after text
// may be read.
bool NeedsCodeEscape(std::string_view text, bool padded = false);

// Appends text escaped.
void AppendCodeText(std::string_view text, std::string& out);

// The length of text escaped.
std::size_t EscapedCodeSize(std::string_view text);

// A name in an id, an href or a link text: the double quote as "&quot;" too, so that no name
// can end an attribute or open a tag.
std::string EscapeName(std::string_view name);

} // namespace quillmark
