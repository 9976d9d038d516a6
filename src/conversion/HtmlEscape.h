#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// Code text for the fragment: "&" as "&amp;", "<" as "&lt;", ">" as "&gt;"; quotes stay as they
// are. Returns text itself when it holds none of them, else the escaped copy kept in buffer.
std::string_view EscapeCodeText(std::string_view text, std::string& buffer);

// A name in an id, an href or a link text: the double quote as "&quot;" too, so that no name
// can end an attribute or open a tag.
std::string EscapeName(std::string_view name);

} // namespace quillmark
