#pragma once

#include "codemodel/ControlCharacters.h"

#include <string>
#include <string_view>

namespace quillmark {

// The names users type for the Windows code pages, mapped to what the converters know: to
// Windows, Shift_JIS means code page 932, which differs from iconv's own SHIFT_JIS.
std::string ConverterName(const std::string& encoding);

// The encoding name (as iconv knows it) of a Windows code page: 932 -> "CP932".
std::string CodePageEncoding(int codePage);

// Whether bytes are valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// bytes decoded from encoding into UTF-8; throws RuntimeError for an unknown encoding (bad usage)
// or bytes that are not valid in it.
std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding);

// A module file's bytes as UTF-8: UTF-8 with a BOM (dropped), UTF-16 with a BOM or with zero
// bytes in alternate positions (bytes it cannot decode become U+FFFD), UTF-8 when valid, else
// CP932 when it decodes strictly, else CP1252. A non-empty encoding overrides the guess.
// Control characters are replaced (ReplaceControlCharacters). Throws RuntimeError for UTF-32
// text and for bytes the given encoding cannot decode.
std::string DecodeModuleFile(std::string_view bytes, const std::string& encoding = {});
// The same, taking the bytes over: valid UTF-8 text, as most module files are, is kept in
// place rather than copied.
std::string DecodeModuleBytes(std::string bytes, const std::string& encoding = {});

// Name bytes of unknown encoding (a file name) decoded as a module file is, then as NameText.
std::string DecodeName(std::string_view bytes);

} // namespace quillmark
