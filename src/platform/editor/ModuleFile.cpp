#include "platform/editor/ModuleFile.h"

#include "codemodel/HostObjectModel.h"

#include <optional>
#include <vector>

namespace quillmark {

namespace {

// One line of the text with the break that ends it (empty for the last line without one).
struct RawLine {
    std::string_view text;
    std::string_view lineBreak;
};

std::vector<RawLine> SplitKeepingBreaks(std::string_view text)
{
    std::vector<RawLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        const std::size_t breakLength = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(start, i - start), text.substr(i, breakLength)});
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.substr(start), {}});
    return lines;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

// The rest of s after a leading keyword (ASCII case-insensitive) that is a whole word.
std::optional<std::string_view> AfterWord(std::string_view s, std::string_view word)
{
    s = TrimLeft(s);
    if (s.size() < word.size())
        return std::nullopt;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char a = s[i] >= 'a' && s[i] <= 'z' ? static_cast<char>(s[i] - 32) : s[i];
        const char b = word[i] >= 'a' && word[i] <= 'z' ? static_cast<char>(word[i] - 32) : word[i];
        if (a != b)
            return std::nullopt;
    }
    s.remove_prefix(word.size());
    if (!s.empty() && !IsBlank(s.front()))
        return std::nullopt;
    return TrimLeft(s);
}

// "Attribute VB_Name = ..." or "Attribute Member.VB_... = ..."; not an assignment to a
// variable that happens to be called Attribute.
std::optional<std::string_view> AttributeBody(std::string_view line)
{
    auto rest = AfterWord(line, "Attribute");
    if (!rest || rest->empty() || rest->front() == '=')
        return std::nullopt;
    return rest;
}

// Number of leading lines that form the export header: the VERSION line, any Object lines
// of controls it uses, and the Begin ... End blocks, nested ones included. 0 when the text
// has no header or the header never closes (then nothing is hidden).
std::size_t HeaderLength(const std::vector<RawLine>& lines)
{
    const auto version = lines.empty() ? std::nullopt : AfterWord(lines[0].text, "VERSION");
    if (!version || version->empty() || version->front() < '0' || version->front() > '9')
        return 0;
    std::size_t i = 1;
    while (i < lines.size()) {
        const std::string_view text = lines[i].text;
        if (auto object = AfterWord(text, "Object"); object && !object->empty() && object->front() == '=') {
            ++i;
            continue;
        }
        if (!AfterWord(text, "Begin"))
            break;
        int depth = 0;
        std::size_t j = i;
        for (; j < lines.size(); ++j) {
            if (AfterWord(lines[j].text, "Begin"))
                ++depth;
            else if (auto end = AfterWord(lines[j].text, "End"); end && (end->empty() || end->front() == '\''))
                --depth;
            if (depth == 0)
                break;
        }
        if (j == lines.size())
            return 1; // a block that never closes: only the VERSION line is certainly header
        i = j + 1;
    }
    return i;
}

// The value of Attribute NAME = "value" (quotes removed), when line is that attribute.
std::optional<std::string> AttributeValue(std::string_view line, std::string_view name)
{
    const auto body = AttributeBody(line);
    const std::size_t equals = body ? body->find('=') : std::string_view::npos;
    if (equals == std::string_view::npos)
        return std::nullopt;
    const auto rest = AfterWord(body->substr(0, equals), name);
    if (!rest || !rest->empty())
        return std::nullopt;
    std::string_view value = TrimLeft(body->substr(equals + 1));
    while (!value.empty() && IsBlank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

} // namespace

std::string VisibleCode(std::string_view text)
{
    const std::vector<RawLine> lines = SplitKeepingBreaks(text);
    std::string code;
    code.reserve(text.size());
    for (std::size_t i = HeaderLength(lines); i < lines.size(); ++i) {
        if (AttributeBody(lines[i].text))
            continue;
        code += lines[i].text;
        code += lines[i].lineBreak;
    }
    return code;
}

ExportedModule ParseModuleFile(std::string_view text, const std::string& fallbackName, const std::string& extension)
{
    ExportedModule module;
    module.name = fallbackName;
    const std::string ext = LowerAscii(extension);
    if (ext == ".cls")
        module.type = vbext_ct::ClassModule;
    else if (ext == ".frm")
        module.type = vbext_ct::MSForm;
    else
        module.type = vbext_ct::StdModule;

    const std::vector<RawLine> lines = SplitKeepingBreaks(text);
    bool nameFound = false;
    bool documentMarks = false;
    for (const RawLine& line : lines) {
        if (!AttributeBody(line.text))
            continue;
        if (!nameFound) {
            if (auto name = AttributeValue(line.text, "VB_Name"); name && !name->empty()) {
                module.name = *name;
                nameFound = true;
            }
        }
        // The editor writes these for the modules of workbooks, sheets and documents only.
        for (std::string_view mark : {"VB_Base", "VB_Customizable", "VB_TemplateDerived"})
            if (AttributeValue(line.text, mark))
                documentMarks = true;
    }
    if (module.type == vbext_ct::ClassModule && documentMarks)
        module.type = vbext_ct::Document;
    module.code = VisibleCode(text);
    return module;
}

} // namespace quillmark
