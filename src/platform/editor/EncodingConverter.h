#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// bytes converted from encoding (a name as iconv knows it: "CP932", "UTF-16LE", "ISO-8859-1")
// into UTF-8 by the platform's converter; throws std::invalid_argument for an unknown encoding.
// Bytes not valid in the encoding throw too, or with a replacement unit become U+FFFD, unit
// bytes at a time.
std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::size_t replacementUnit = 0);

} // namespace quillmark
