#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// The encoding name (as iconv knows it) of a Windows code page: 932 -> "CP932".
std::string CodePageEncoding(int codePage);

// bytes decoded from encoding into UTF-8; throws std::invalid_argument for an unknown
// encoding or bytes that are not valid in it.
std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding);

// A module file's bytes as UTF-8: UTF-8 with a BOM (dropped), UTF-16 with a BOM or with zero
// bytes in alternate positions (bytes it cannot decode become U+FFFD), UTF-8 when valid, else
// CP932 when it decodes strictly, else CP1252. A non-empty encoding overrides the guess. Control characters are
// replaced as below. Throws std::invalid_argument for UTF-32 text and for bytes the given encoding cannot decode.
std::string DecodeModuleFile(std::string_view bytes, const std::string& encoding = {});
// The same, taking the bytes over: valid UTF-8 text, as most module files are, is kept in
// place rather than copied.
std::string DecodeModuleBytes(std::string bytes, const std::string& encoding = {});

// C0 control characters other than tab, CR and LF replaced by U+FFFD: they are no code, and
// must not reach the HTML raw.
std::string ReplaceControlCharacters(std::string text);

// A name (of a module, a file) as one line of text: every C0 control, line breaks and tabs
// included, replaced by U+FFFD, so that no name splits a listing or reaches the HTML raw.
std::string NameText(std::string text);
// Name bytes of unknown encoding (a file name) decoded as a module file is, then as NameText.
std::string DecodeName(std::string_view bytes);

} // namespace quillmark
