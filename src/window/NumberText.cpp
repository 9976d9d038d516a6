#include "window/NumberText.h"

#include <array>
#include <charconv>

namespace quillmark {

std::string NumberText(double value, std::string_view decimalSeparator)
{
    if (value == 0.0)
        return "0"; // also for -0
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    std::string text = result.ec == std::errc() ? std::string(buffer.data(), result.ptr) : std::to_string(value);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

} // namespace quillmark
