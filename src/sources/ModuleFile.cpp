#include "sources/ModuleFile.h"

#include "base/AsciiText.h"
#include "codemodel/ByteBlocks.h"
#include "codemodel/HostObjectModel.h"
#include "codemodel/LineBreaks.h"
#include "sources/TextDecoding.h"

#include <cstring>
#include <optional>

namespace quillmark {

namespace {

// One line of the text with the break that ends it (empty for the last line without one).
struct RawLine {
    std::string_view text;
    std::string_view lineBreak;
};

// Reads the lines of a text from a byte offset on, without copying them.
class LineReader {
public:
    explicit LineReader(std::string_view text, std::size_t offset = 0) : text_(text), breaks_(text), offset_(offset) {}

    std::size_t Offset() const { return offset_; }
    bool Next(RawLine& line)
    {
        if (offset_ >= text_.size())
            return false;
        const LineBreaks::Break lineBreak = breaks_.Next(offset_);
        line = {text_.substr(offset_, lineBreak.at - offset_), text_.substr(lineBreak.at, lineBreak.length)};
        offset_ = lineBreak.at + lineBreak.length;
        return true;
    }

private:
    std::string_view text_;
    LineBreaks breaks_;
    std::size_t offset_;
};

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
    // Most lines are told apart by their first character.
    const std::size_t first = byteblocks::Skip<' ', '\t'>(line);
    if (first == line.size() || LowerAscii(line[first]) != 'a')
        return std::nullopt;
    auto rest = AfterWord(line.substr(first), "Attribute");
    if (!rest || rest->empty() || rest->front() == '=')
        return std::nullopt;
    return rest;
}

// Byte offset where the code starts after the export header: the VERSION line, any Object
// lines of controls it uses, and the Begin ... End blocks, nested ones included. 0 when the
// text has no header.
std::size_t HeaderEnd(std::string_view text)
{
    LineReader reader(text);
    RawLine line;
    if (!reader.Next(line))
        return 0;
    const auto version = AfterWord(line.text, "VERSION");
    if (!version || version->empty() || version->front() < '0' || version->front() > '9')
        return 0;
    std::size_t end = reader.Offset();
    while (reader.Next(line)) {
        if (auto object = AfterWord(line.text, "Object"); object && !object->empty() && object->front() == '=') {
            end = reader.Offset();
            continue;
        }
        if (!AfterWord(line.text, "Begin"))
            break;
        int depth = 1;
        while (depth > 0 && reader.Next(line)) {
            if (AfterWord(line.text, "Begin"))
                ++depth;
            else if (auto close = AfterWord(line.text, "End"); close && (close->empty() || close->front() == '\''))
                --depth;
        }
        if (depth > 0)
            break; // a block that never closes: only what came before it is certainly header
        end = reader.Offset();
    }
    return end;
}

// The text without its header and Attribute lines, made in place, and where its lines lie:
// what is kept only ever moves forward over what is dropped, behind the lines still to be read,
// a run of kept lines at a time. Each Attribute line's body goes to onAttribute.
constexpr std::size_t TypicalLineLength = 24; // bytes of code a line, breaks included

// Apart from its callers' strings: under WebAssembly every call made where something must be
// destroyed on failure goes the slow way round, through JavaScript.
template <typename OnAttribute>
[[gnu::noinline]] void StripHidden(std::string& text, LineStarts& lines, OnAttribute onAttribute)
{
    std::size_t kept = 0;    // the kept text ends here once the run is moved
    std::size_t runFrom = 0; // the run of kept lines not yet moved: where it starts in the text
    std::size_t runSize = 0;
    const auto moveRun = [&] {
        if (runFrom != kept)
            std::memmove(text.data() + kept, text.data() + runFrom, runSize);
        kept += runSize;
        runSize = 0;
    };
    lines.Reserve(lines.Count() + text.size() / TypicalLineLength);
    LineReader reader(text, HeaderEnd(text));
    RawLine line;
    while (reader.Next(line)) {
        const auto from = static_cast<std::size_t>(line.text.data() - text.data());
        if (AttributeBody(line.text)) {
            onAttribute(line.text);
            moveRun();
            continue;
        }
        if (runSize == 0)
            runFrom = from;
        lines.Add(kept + (from - runFrom));
        runSize += line.text.size() + line.lineBreak.size();
    }
    moveRun();
    text.resize(kept);
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

} // namespace

std::size_t ExportHeaderEnd(std::string_view text)
{
    return HeaderEnd(text);
}

std::string VisibleCode(std::string text)
{
    LineStarts lines;
    StripHidden(text, lines, [](std::string_view) {});
    return text;
}

ModuleText VisibleLines(std::string text)
{
    LineStarts lines;
    StripHidden(text, lines, [](std::string_view) {});
    return ModuleText(std::move(text), std::move(lines));
}

ExportedModule ParseModuleFile(std::string text, const std::string& fallbackName, const std::string& extension)
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

    bool nameFound = false;
    bool documentMarks = false;
    module.code = std::move(text);
    StripHidden(module.code, module.lines, [&](std::string_view line) {
        if (!nameFound) {
            if (auto name = AttributeValue(line, "VB_Name"); name && !name->empty()) {
                module.name = NameText(*name);
                nameFound = true;
            }
        }
        // The editor writes these for the modules of workbooks, sheets and documents only.
        for (std::string_view mark : {"VB_Base", "VB_Customizable", "VB_TemplateDerived"})
            if (AttributeValue(line, mark))
                documentMarks = true;
    });
    if (module.type == vbext_ct::ClassModule && documentMarks)
        module.type = vbext_ct::Document;
    return module;
}

} // namespace quillmark
