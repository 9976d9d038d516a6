#include "sources/documents/XmlReader.h"

#include "base/Utf8Text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillmark {

namespace {

struct Malformed {};

// Deeper nesting is refused, as libxml2 refuses it.
constexpr int MaxDepth = 256;

bool Space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool NameCharacter(char c)
{
    return !Space(c) && std::string_view("<>/=\"'&?!").find(c) == std::string_view::npos;
}

class Reader {
public:
    explicit Reader(std::string_view xml) : xml_(xml)
    {
        if (xml_.starts_with("\xEF\xBB\xBF")) {
            xml_.remove_prefix(3);
        }
    }

    std::vector<XmlElement> Read()
    {
        Misc();
        if (Ahead("<!DOCTYPE")) {
            return {};
        }
        Element(0);
        Misc();
        if (at_ != xml_.size()) {
            throw Malformed{};
        }
        return std::move(elements_);
    }

private:
    bool Ahead(std::string_view text) const { return xml_.substr(at_).starts_with(text); }

    void Expect(std::string_view text)
    {
        if (!Ahead(text)) {
            throw Malformed{};
        }
        at_ += text.size();
    }

    // Skips to the end of text; fails when the input ends first.
    void SkipPast(std::string_view text)
    {
        const std::size_t end = xml_.find(text, at_);
        if (end == std::string_view::npos) {
            throw Malformed{};
        }
        at_ = end + text.size();
    }

    void Spaces()
    {
        while (at_ < xml_.size() && Space(xml_[at_])) {
            ++at_;
        }
    }

    // Comments, processing instructions (the XML declaration among them) and white space.
    void Misc()
    {
        for (;;) {
            Spaces();
            if (Ahead("<!--")) {
                SkipPast("-->");
            } else if (Ahead("<?")) {
                SkipPast("?>");
            } else {
                return;
            }
        }
    }

    std::string_view Name()
    {
        const std::size_t start = at_;
        while (at_ < xml_.size() && NameCharacter(xml_[at_])) {
            ++at_;
        }
        if (at_ == start) {
            throw Malformed{};
        }
        return xml_.substr(start, at_ - start);
    }

    // The part after the prefix of a qualified name; a name that is none ("a:", "a:b:c") whole.
    static std::string LocalName(std::string_view name)
    {
        const std::size_t colon = name.find(':');
        const bool qualified = colon != std::string_view::npos && colon > 0 && colon + 1 < name.size() &&
                               name.find(':', colon + 1) == std::string_view::npos;
        return std::string(qualified ? name.substr(colon + 1) : name);
    }

    // The character that a reference after '&' stands for.
    void Reference(std::string& out)
    {
        const std::size_t end = xml_.find(';', at_);
        if (end == std::string_view::npos) {
            throw Malformed{};
        }
        const std::string_view name = xml_.substr(at_, end - at_);
        at_ = end + 1;
        static constexpr std::pair<std::string_view, char> Named[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, character] : Named) {
            if (name == entity) {
                out += character;
                return;
            }
        }
        if (name.size() < 2 || name[0] != '#') {
            throw Malformed{};
        }
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t value = 0;
        if (digits.empty() || digits.size() > 8) {
            throw Malformed{};
        }
        for (const char c : digits) {
            const auto digit = std::string_view("0123456789abcdef").find(static_cast<char>(c | 0x20));
            if (digit == std::string_view::npos || digit >= (hex ? 16u : 10u)) {
                throw Malformed{};
            }
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        const bool allowed = value == 0x9 || value == 0xA || value == 0xD || (value >= 0x20 && value <= 0xD7FF) ||
                             (value >= 0xE000 && value <= 0xFFFD) || (value >= 0x10000 && value <= 0x10FFFF);
        if (!allowed) {
            throw Malformed{};
        }
        AppendUtf8(out, value);
    }

    // An attribute's value, its references replaced and its line breaks and tabs spaces.
    std::string Value()
    {
        if (at_ >= xml_.size() || (xml_[at_] != '"' && xml_[at_] != '\'')) {
            throw Malformed{};
        }
        const char quote = xml_[at_++];
        std::string value;
        for (;;) {
            if (at_ >= xml_.size() || xml_[at_] == '<') {
                throw Malformed{};
            }
            const char c = xml_[at_++];
            if (c == quote) {
                return value;
            }
            if (c == '&') {
                Reference(value);
            } else if (c == '\r' && at_ < xml_.size() && xml_[at_] == '\n') {
                continue; // a CR LF is one line break
            } else {
                value += Space(c) ? ' ' : c;
            }
        }
    }

    void Text()
    {
        while (at_ < xml_.size() && xml_[at_] != '<') {
            if (xml_[at_++] == '&') {
                std::string ignored;
                Reference(ignored);
            }
        }
    }

    // The element at '<'; depth 1 is an element directly below the root.
    void Element(int depth)
    {
        if (depth > MaxDepth) {
            throw Malformed{};
        }
        Expect("<");
        const std::string_view name = Name();
        XmlElement element{LocalName(name), {}};
        std::vector<std::string_view> seen;
        for (;;) {
            const std::size_t before = at_;
            Spaces();
            if (Ahead("/>") || Ahead(">")) {
                break;
            }
            if (at_ == before) {
                throw Malformed{};
            }
            const std::string_view attribute = Name();
            Spaces();
            Expect("=");
            Spaces();
            std::string value = Value();
            if (std::find(seen.begin(), seen.end(), attribute) != seen.end()) {
                throw Malformed{};
            }
            seen.push_back(attribute);
            if (attribute != "xmlns" && !attribute.starts_with("xmlns:")) {
                element.attributes.emplace_back(LocalName(attribute), std::move(value));
            }
        }
        if (depth == 1) {
            elements_.push_back(std::move(element));
        }
        if (Ahead("/>")) {
            at_ += 2;
            return;
        }
        Expect(">");
        for (;;) {
            Text();
            if (Ahead("</")) {
                at_ += 2;
                if (Name() != name) {
                    throw Malformed{};
                }
                Spaces();
                Expect(">");
                return;
            }
            if (Ahead("<!--")) {
                SkipPast("-->");
            } else if (Ahead("<![CDATA[")) {
                SkipPast("]]>");
            } else if (Ahead("<?")) {
                SkipPast("?>");
            } else if (at_ >= xml_.size() || Ahead("<!")) {
                throw Malformed{};
            } else {
                Element(depth + 1);
            }
        }
    }

    std::string_view xml_;
    std::size_t at_ = 0;
    std::vector<XmlElement> elements_;
};

} // namespace

std::vector<XmlElement> OwnElementsBelowRoot(const std::string& xml)
{
    try {
        return Reader(xml).Read();
    } catch (const Malformed&) {
        return {};
    }
}

} // namespace quillmark
