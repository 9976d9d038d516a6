#pragma once

#include <cstdint>
#include <string>

namespace quillmark::bench {

// A realistic standard module of about lineCount lines (CR LF line ends, no export header):
// declarations, then subs, functions and property procedures with comments, strings, labels,
// named arguments and error handling. The same count always gives the same text.
std::string GenerateModule(std::int32_t lineCount);

} // namespace quillmark::bench
