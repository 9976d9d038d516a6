#include "base/ShortName.h"

#include "base/AsciiText.h"

#include <cstdint>

namespace quillmark {
namespace {

constexpr std::size_t kHashBytes = 9;
constexpr std::size_t kMaxExtensionBytes = 16;

std::string_view ExtensionOf(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes)
        return {};
    return name.substr(dot);
}

} // namespace

std::string NameHash(std::string_view text)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return "~" + LowerAscii(HexDigits(hash, 8));
}

std::string_view CutUtf8(std::string_view text, std::size_t size)
{
    if (size >= text.size())
        return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
        --size;
    return text.substr(0, size);
}

std::string ShortName(std::string_view name, std::size_t size)
{
    if (name.size() <= size)
        return std::string(name);
    std::string_view extension = ExtensionOf(name);
    if (extension.size() + kHashBytes > size)
        extension = {};
    const std::size_t room = size > extension.size() + kHashBytes ? size - extension.size() - kHashBytes : 0;
    return std::string(CutUtf8(name.substr(0, name.size() - extension.size()), room)) + NameHash(name) +
           std::string(extension);
}

bool IsShortNameOf(std::string_view shortName, std::string_view name)
{
    if (shortName == name)
        return true;
    if (shortName.size() >= name.size())
        return false;
    for (const std::string_view extension : {ExtensionOf(name), std::string_view()}) {
        const std::string tail = NameHash(name) + std::string(extension);
        if (shortName.size() >= tail.size() && shortName.ends_with(tail) &&
            name.starts_with(shortName.substr(0, shortName.size() - tail.size())))
            return true;
    }
    return false;
}

} // namespace quillmark
