#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quillmark::com {

// A class, interface or library identifier.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    bool operator==(const Guid&) const = default;

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case, as the registry writes it.
    std::string ToString() const;
    // Accepts the form above, braces optional, any case.
    static std::optional<Guid> Parse(const std::string& text);
};

// For identifiers written in the code: a malformed literal stops the build.
consteval Guid MakeGuid(const char (&text)[37])
{
    auto hex = [&](int at, int digits) {
        std::uint64_t v = 0;
        for (int i = at; i < at + digits; ++i) {
            const char c = text[i];
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0)
                throw "not a hexadecimal digit";
            v = v * 16 + static_cast<std::uint64_t>(d);
        }
        return v;
    };
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        throw "not a GUID";
    Guid g;
    g.data1 = static_cast<std::uint32_t>(hex(0, 8));
    g.data2 = static_cast<std::uint16_t>(hex(9, 4));
    g.data3 = static_cast<std::uint16_t>(hex(14, 4));
    g.data4[0] = static_cast<std::uint8_t>(hex(19, 2));
    g.data4[1] = static_cast<std::uint8_t>(hex(21, 2));
    for (int i = 0; i < 6; ++i)
        g.data4[static_cast<std::size_t>(2 + i)] = static_cast<std::uint8_t>(hex(24 + 2 * i, 2));
    return g;
}

} // namespace quillmark::com
