#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// The encoding name (as iconv knows it) of a Windows code page: 932 -> "CP932".
std::string CodePageEncoding(int codePage);

// bytes decoded from encoding into UTF-8; throws std::invalid_argument for an unknown
// encoding or bytes that are not valid in it.
std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding);

// A module file's bytes as UTF-8: UTF-8 with a BOM (dropped) or when valid, UTF-16 with a BOM,
// else CP932 when it decodes strictly, else CP1252. A non-empty encoding overrides the guess.
std::string DecodeModuleFile(std::string_view bytes, const std::string& encoding = {});

} // namespace quillmark
