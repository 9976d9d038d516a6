#pragma once

#include <string>

namespace quillmark {

// A number as general number-to-text conversion writes it: the fewest digits that read back
// as the same value, no exponent, no trailing zeros, a leading zero (0.016, 1.5, 0).
std::string NumberText(double value);

} // namespace quillmark
