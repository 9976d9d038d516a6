#include "platform/com/Guid.h"

#include <cstdio>

namespace quillmark::com {

std::string Guid::ToString() const
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buffer;
}

std::optional<Guid> Guid::Parse(const std::string& text)
{
    std::string body = text;
    if (body.size() == 38 && body.front() == '{' && body.back() == '}')
        body = body.substr(1, 36);
    if (body.size() != 36)
        return std::nullopt;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const char c = body[i];
        const bool hexDigit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (dash ? c != '-' : !hexDigit)
            return std::nullopt;
    }
    auto hex = [&](std::size_t at, std::size_t digits) {
        return std::stoull(body.substr(at, digits), nullptr, 16);
    };
    Guid g;
    g.data1 = static_cast<std::uint32_t>(hex(0, 8));
    g.data2 = static_cast<std::uint16_t>(hex(9, 4));
    g.data3 = static_cast<std::uint16_t>(hex(14, 4));
    g.data4[0] = static_cast<std::uint8_t>(hex(19, 2));
    g.data4[1] = static_cast<std::uint8_t>(hex(21, 2));
    for (std::size_t i = 0; i < 6; ++i)
        g.data4[2 + i] = static_cast<std::uint8_t>(hex(24 + 2 * i, 2));
    return g;
}

} // namespace quillmark::com
