#pragma once

#include <string>
#include <string_view>

namespace quillmark::win32 {

// The system speaks UTF-16; inside, text is UTF-8. Ill-formed input becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace quillmark::win32
