#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The 36 characters between the braces, any case; nothing for anything else.
constexpr std::optional<Guid> ParseGuidBody(std::string_view body)
{
    if (body.size() != 36)
        return std::nullopt;
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    for (std::size_t i = 0; i < body.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? body[i] != '-' : digit(body[i]) < 0)
            return std::nullopt;
    }
    auto hex = [&](std::size_t at, std::size_t digits) {
        std::uint64_t v = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            v = v * 16 + static_cast<std::uint64_t>(digit(body[i]));
        return v;
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

// For identifiers written in the code: a malformed literal stops the build.
consteval Guid MakeGuid(const char (&text)[37])
{
    const std::optional<Guid> g = ParseGuidBody(std::string_view(text, 36));
    if (!g)
        throw "not a GUID";
    return *g;
}

} // namespace quillmark::com
