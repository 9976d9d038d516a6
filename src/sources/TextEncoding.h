#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// UTF-8 text in encoding (named as for DecodeToUtf8); throws RuntimeError for an unknown
// encoding (bad usage) or a character that the encoding lacks. Apart from the decoding, which
// every build has, since only the commands that write module files need it.
std::string EncodeFromUtf8(std::string_view text, const std::string& encoding);

} // namespace quillmark
