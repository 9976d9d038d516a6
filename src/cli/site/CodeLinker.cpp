#include "cli/site/CodeLinker.h"

#include "cli/site/SitePaths.h"
#include "codemodel/BracketedNames.h"

namespace quillmark::cli {

namespace {

constexpr std::string_view kBlockOpen = "<div class=\"CodeArea\"><p id=\"";
constexpr std::string_view kSpanOpen = "<span class=\"Deco"; // then the class's digit and "\">"
constexpr std::string_view kSpanClose = "</span>";
constexpr std::string_view kLineMark = "<span class=\"Ln\"></span>";
constexpr auto npos = std::string_view::npos;
constexpr std::size_t kSpillSize = 64 * 1024;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c)
{
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

// "H1F" of "&H1F" and "O17" of "&O17" are numbers.
bool IsRadixDigits(std::string_view name)
{
    if (name.size() < 2 || (name[0] != 'H' && name[0] != 'h' && name[0] != 'O' && name[0] != 'o'))
        return false;
    return name.substr(1).find_first_not_of("0123456789ABCDEFabcdef") == npos;
}

} // namespace

CodeLinker::CodeLinker(const ProjectProcedures* procedures, const SiteProject& project, std::size_t module,
                       bool lineNumbers)
    : procedures_(procedures), project_(project), module_(module), lineNumbers_(lineNumbers)
{}

void CodeLinker::AppendLine(std::string_view line, std::string& out, const Spill& spill)
{
    std::size_t pos = 0;
    while (line.substr(pos).starts_with(kBlockOpen)) {
        const std::size_t end = line.find("\">", pos + kBlockOpen.size());
        const std::size_t next = end == npos ? line.size() : end + 2;
        out.append(line.substr(pos, next - pos));
        pos = next;
        declared_.StartBlock();
    }
    if (lineNumbers_)
        out += kLineMark;
    declared_.StartLine(continued_);
    continued_ = line.ends_with(" _");
    while (pos < line.size()) {
        if (line[pos] == '<') {
            AppendSpan(line, pos, out);
            continue;
        }
        const std::size_t tag = line.find('<', pos);
        const std::string_view text = line.substr(pos, tag == npos ? npos : tag - pos);
        if (openSpans_.empty())
            AppendNames(text, out);
        else
            out += text;
        pos += text.size();
        if (spill && out.size() >= kSpillSize)
            spill(out);
    }
}

// The markup at pos, and for a keyword or a name outside other spans its whole span.
void CodeLinker::AppendSpan(std::string_view line, std::size_t& pos, std::string& out)
{
    const std::string_view rest = line.substr(pos);
    const std::size_t contentStart = kSpanOpen.size() + 3;
    if (rest.starts_with(kSpanOpen) && rest.size() >= contentStart) {
        const char deco = rest[kSpanOpen.size()];
        // Looked for only where it is near: a line may open thousands of label spans at once.
        const bool nameOrKeyword = openSpans_.empty() && (deco == '3' || deco == '5');
        const std::size_t close = nameOrKeyword ? rest.find(kSpanClose, contentStart) : npos;
        if (close != npos) {
            const std::string_view content = rest.substr(contentStart, close - contentStart);
            const bool namedArgument = rest.substr(close + kSpanClose.size()).starts_with(":=");
            out += rest.substr(0, contentStart);
            if (deco == '3')
                declared_.Keyword(content);
            if (deco == '5' && !namedArgument)
                AppendNames(content, out);
            else
                out += content;
            out += kSpanClose;
            pos += close + kSpanClose.size();
            return;
        }
        openSpans_.push_back(deco);
    } else if (rest.starts_with(kSpanClose) && !openSpans_.empty()) {
        openSpans_.pop_back();
    }
    const std::size_t end = rest.find('>');
    const std::size_t length = end == npos ? rest.size() : end + 1;
    out += rest.substr(0, length);
    pos += length;
}

// Links the names of plain code text: "Name", "Module.Name", "Me.Name", and bracketed ones
// ("[Name]" means Name); ".Name" of a With block and the members of anything else are left
// alone.
void CodeLinker::AppendNames(std::string_view text, std::string& out)
{
    std::size_t copied = 0;
    std::string_view previous; // the last name, when it may qualify the next
    std::size_t previousEnd = npos;
    BracketedNames brackets(text);
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '&') { // an entity
            const std::size_t semicolon = text.find(';', i);
            i = semicolon == npos ? text.size() : semicolon + 1;
            declared_.Punctuation('&');
            continue;
        }
        const std::size_t start = i;
        const std::size_t close = text[i] == '[' ? brackets.End(i) : i;
        std::string_view name;
        if (close > start + 1) {
            i = close + 1;
            name = text.substr(start + 1, close - start - 1);
        } else if (IsNameChar(text[i])) {
            while (i < text.size() && IsNameChar(text[i]))
                ++i;
            name = text.substr(start, i - start);
        } else {
            declared_.Punctuation(text[i++]);
            continue;
        }
        const bool bracketed = text[start] == '[';
        const bool member = start > 0 && text[start - 1] == '.';
        const bool qualified = member && previousEnd == start - 1 && !previous.empty();
        const bool number = !bracketed && (!IsLetter(name.front()) ||
                                           (text.substr(0, start).ends_with("&amp;") && IsRadixDigits(name)));
        const bool declared = !member && !number && declared_.Declares(name);
        if (!number && !declared && (qualified || (!member && !declared_.IsLocal(name)))) {
            if (const std::string href = LinkFor(member ? previous : std::string_view{}, name); !href.empty()) {
                out += text.substr(copied, start - copied);
                out += "<a href=\"";
                out += href;
                out += "\">";
                out += text.substr(start, i - start);
                out += "</a>";
                copied = i;
            }
        }
        previous = member ? std::string_view{} : name;
        previousEnd = i;
    }
    out += text.substr(copied);
}

std::string CodeLinker::LinkFor(std::string_view qualifier, std::string_view name) const
{
    if (!procedures_)
        return {};
    const auto definition = procedures_->Find(module_, qualifier, name);
    if (!definition)
        return {};
    return Href(project_.modules[module_].page, project_.modules[definition->module].page,
                definition->record->ProcName);
}

} // namespace quillmark::cli
