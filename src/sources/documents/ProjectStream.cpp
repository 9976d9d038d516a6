#include "sources/documents/ProjectStream.h"

#include "sources/documents/VbaFormatError.h"

#include <array>

namespace quillmark {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::optional<std::string> FromHex(std::string_view hex)
{
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Each byte is masked with the two encrypted bytes before it and the plain byte before it.
class FieldDecryptor {
public:
    FieldDecryptor(std::uint8_t projKey, std::uint8_t projKeyEnc, std::uint8_t versionEnc)
        : plain1_(projKey), enc1_(projKeyEnc), enc2_(versionEnc)
    {}
    std::uint8_t Next(std::uint8_t encrypted)
    {
        const auto plain = static_cast<std::uint8_t>(encrypted ^ static_cast<std::uint8_t>(enc2_ + plain1_));
        enc2_ = enc1_;
        enc1_ = encrypted;
        plain1_ = plain;
        return plain;
    }

private:
    std::uint8_t plain1_;
    std::uint8_t enc1_;
    std::uint8_t enc2_;
};

// Reads a module line into info; returns the GC field's hex text when the line is that field.
std::optional<std::string_view> ReadLine(std::string_view line, ProjectInfo& info)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    static constexpr std::array<std::pair<std::string_view, std::int32_t>, 4> kinds{
        {{"Module", 1}, {"Class", 2}, {"BaseClass", 3}, {"Document", 100}}};
    for (const auto& [name, type] : kinds) {
        if (key == name) {
            // A document's name is followed by "/&H" and its cookie.
            const std::string_view moduleName = type == 100 ? value.substr(0, value.find('/')) : value;
            info.modules.push_back({type, std::string(moduleName)});
            return std::nullopt;
        }
    }
    if (key == "GC") {
        return Unquoted(value);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> DecryptProjectField(std::string_view hex)
{
    const std::optional<std::string> bytes = FromHex(hex);
    if (!bytes || bytes->size() < 3) {
        return std::nullopt;
    }
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>((*bytes)[i]); };
    const std::uint8_t seed = at(0);
    const std::uint8_t versionEnc = at(1);
    const std::uint8_t projKeyEnc = at(2);
    if ((seed ^ versionEnc) != 2) {
        return std::nullopt;
    }
    FieldDecryptor decryptor(static_cast<std::uint8_t>(seed ^ projKeyEnc), projKeyEnc, versionEnc);
    std::size_t next = 3;
    const std::size_t ignored = (seed & 6u) / 2;
    if (bytes->size() < next + ignored + 4) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < ignored; ++i) {
        decryptor.Next(at(next++));
    }
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= static_cast<std::uint32_t>(decryptor.Next(at(next++))) << (8 * i);
    }
    if (length > bytes->size() - next) {
        return std::nullopt;
    }
    std::string data;
    data.reserve(length);
    for (std::uint32_t i = 0; i < length; ++i) {
        data.push_back(static_cast<char>(decryptor.Next(at(next++))));
    }
    return data;
}

ProjectInfo ParseProjectStream(std::string_view text)
{
    ProjectInfo info;
    std::optional<std::string_view> visibility;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(at, end - at);
        // The host's own sections ([Host Extender Info], [Workspace]) follow the project's lines.
        if (!line.empty() && line.front() == '[') {
            break;
        }
        if (const auto gc = ReadLine(line, info)) {
            visibility = gc;
        }
        at = end + 1;
    }
    // Without a sound GC nobody can tell whether the code may be shown.
    if (!visibility) {
        throw VbaFormatError("the PROJECT stream is damaged: it has no GC (visibility) field");
    }
    const std::optional<std::string> state = DecryptProjectField(*visibility);
    constexpr char hidden = '\x00';
    constexpr char visible = '\xFF';
    if (!state || state->size() != 1 || (state->front() != hidden && state->front() != visible)) {
        throw VbaFormatError("the PROJECT stream is damaged: its GC (visibility) field cannot be decoded");
    }
    info.lockedForViewing = state->front() == hidden;
    return info;
}

} // namespace quillmark
