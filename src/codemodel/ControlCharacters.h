#pragma once

#include <string>

namespace quillmark {

// Bytes that are not text (NUL and the other C0 controls) never reach a view or the HTML raw,
// wherever the code comes from: a module file, a document or the editor itself. Each of them
// becomes U+FFFD.

// Code: tab and the line breaks CR and LF stay.
std::string ReplaceControlCharacters(std::string text);

// A name (of a module, a file) as one line of text: line breaks and tabs become U+FFFD too, so
// that no name splits a listing.
std::string NameText(std::string text);

} // namespace quillmark
