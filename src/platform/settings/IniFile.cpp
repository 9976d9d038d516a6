#include "platform/settings/IniFile.h"

#include "base/AsciiText.h"
#include "base/RuntimeError.h"
#include "platform/settings/TextLines.h"

#include <algorithm>

namespace quillmark {
namespace {

RuntimeError SyntaxError(int line, const std::string& problem)
{
    return RuntimeError(err::PathFileAccess, {{}, {}, line}, problem);
}

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Blanks around a value would be trimmed away on reading, so they are escaped.
std::string Escape(const std::string& value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case ' ': out += i == 0 || i + 1 == value.size() ? "\\s" : " "; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text, int lineNumber)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        const char next = i + 1 < text.size() ? text[++i] : '\0';
        switch (next) {
        case '\\': out += '\\'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 's': out += ' '; break;
        default: throw SyntaxError(lineNumber, "値に不明なエスケープがあります");
        }
    }
    return out;
}

} // namespace

IniFile IniFile::Parse(const std::string& text)
{
    IniFile file;
    int number = 0;
    for (const std::string& raw : TextLines(text)) {
        ++number;
        Line line;
        line.raw = raw;
        const std::string t = Trim(raw);
        if (t.empty() || t[0] == ';' || t[0] == '#') {
            line.kind = Line::Other;
        } else if (t[0] == '[') {
            if (t.back() != ']' || t.size() < 3)
                throw SyntaxError(number, "セクション見出しは [名前] の形です");
            line.kind = Line::Section;
            line.section = Trim(t.substr(1, t.size() - 2));
        } else {
            const auto eq = t.find('=');
            if (eq == std::string::npos || Trim(t.substr(0, eq)).empty())
                throw SyntaxError(number, "キー=値 の形ではありません");
            if (std::none_of(file.lines_.begin(), file.lines_.end(),
                             [](const Line& l) { return l.kind == Line::Section; }))
                throw SyntaxError(number, "最初のセクションより前にキーがあります");
            line.kind = Line::Key;
            line.key = Trim(t.substr(0, eq));
            line.value = Unescape(Trim(t.substr(eq + 1)), number);
        }
        file.lines_.push_back(std::move(line));
    }
    return file;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Line::Section)
            inSection = SameName(line.section, section);
        else if (inSection && line.kind == Line::Key && SameName(line.key, key))
            return line.value;
    }
    return std::nullopt;
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value)
{
    bool inSection = false;
    std::optional<std::size_t> sectionEnd;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        if (line.kind == Line::Section) {
            inSection = SameName(line.section, section);
            if (inSection)
                sectionEnd = i + 1;
        } else if (inSection) {
            if (line.kind == Line::Key && SameName(line.key, key)) {
                line.value = value;
                line.raw = line.key + "=" + Escape(value);
                return;
            }
            if (line.kind == Line::Key)
                sectionEnd = i + 1;
        }
    }
    Line entry{key + "=" + Escape(value), {}, key, value, Line::Key};
    if (sectionEnd) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), std::move(entry));
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back().raw).empty())
        lines_.push_back(Line{});
    lines_.push_back(Line{"[" + section + "]", section, {}, {}, Line::Section});
    lines_.push_back(std::move(entry));
}

std::string IniFile::Text() const
{
    std::string text;
    for (const Line& line : lines_)
        text += line.raw + "\n";
    return text;
}

} // namespace quillmark
