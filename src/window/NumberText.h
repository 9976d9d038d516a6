#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// A number as general number-to-text conversion writes it: the fewest digits that read back
// as the same value, no exponent, no trailing zeros, a leading zero, and the locale's decimal
// separator (0.016, 1.5, 0; 0,016 in a German locale).
std::string NumberText(double value, std::string_view decimalSeparator);

} // namespace quillmark
