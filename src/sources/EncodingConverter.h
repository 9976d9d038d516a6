#pragma once

#include "base/RuntimeError.h"

#include <string>
#include <string_view>

namespace quillmark {

// bytes converted from encoding (a name as iconv knows it: "CP932", "UTF-16LE", "ISO-8859-1")
// into UTF-8 by the platform's converter; throws UnknownEncoding's error for an unknown
// encoding. Bytes not valid in the encoding throw RuntimeError 5 too, or with a replacement unit
// become U+FFFD, unit bytes at a time.
std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::size_t replacementUnit = 0);

// UTF-8 text converted into encoding by the platform's converter; throws UnknownEncoding's error
// for an unknown encoding and RuntimeError 5 for a character that the encoding lacks.
std::string ConvertFromUtf8(std::string_view text, const std::string& encoding);

// An encoding name that no converter knows: the user named it, so a command was asked wrongly.
inline RuntimeError UnknownEncoding(const std::string& encoding)
{
    return RuntimeError(err::InvalidCall, {}, "unknown encoding \"" + encoding + "\"", RuntimeError::Kind::BadUsage);
}

} // namespace quillmark
