#include "window/NumberText.h"

#include <array>
#include <charconv>

namespace quillmark {

std::string NumberText(double value)
{
    if (value == 0.0)
        return "0"; // also for -0
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return std::to_string(value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace quillmark
