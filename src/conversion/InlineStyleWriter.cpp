#include "conversion/InlineStyleWriter.h"

#include "conversion/HtmlEscape.h"
#include "conversion/LinkLists.h"

namespace quillmark {
namespace {

// The code's fonts for an attribute: its own quotes single, on one line.
std::string FontFamily(const Theme& theme)
{
    std::string fonts;
    for (const std::string_view part : {theme.codeFontFirst, kMonospaceFonts}) {
        for (const char c : part) {
            const char shown = c == '"' ? '\'' : c == '\n' ? ' ' : c;
            // A line break and the next line's indent become one space.
            if (shown != ' ' || fonts.empty() || fonts.back() != ' ')
                fonts += shown;
        }
    }
    return fonts;
}

std::string SpanOpener(const DecoLook& look)
{
    std::string opener = "<span style=\"color: " + std::string(look.colour);
    if (look.bold)
        opener += "; font-weight: bold";
    if (look.italic)
        opener += "; font-style: italic";
    return opener + "\">";
}

} // namespace

// The same looks as the style sheet's .CodeArea rules; the editor's theme puts a rule between
// blocks instead of a bar beside each.
InlineStyleWriter::InlineStyleWriter(std::string& out, ThemeName name) : out_(out), theme_(ThemeOf(name))
{
    const Theme& theme = theme_;
    for (std::size_t kind = 1; kind < openers_.size(); ++kind)
        openers_[kind] = SpanOpener(theme.deco[kind - 1]);
    const std::string rule = std::string(theme.rule);
    const bool editor = name == ThemeName::Editor;
    blockOpen_ = "<div style=\"" +
                 std::string(editor ? "margin: 0; border-top: 1px solid " + rule
                                    : "margin: 0 0 1em; border-left: 3px solid " + rule) +
                 "; background: " + std::string(theme.code) + "\"><p id=\"";
    lineOpen_ = "\" style=\"margin: 0; padding: .5em 1em; white-space: pre; overflow-x: auto; color: " +
                std::string(theme.plain) + "; background: " + std::string(theme.code) +
                "; font-family: " + FontFamily(theme) + "; font-size: 10pt; line-height: 1.35\">";
}

void InlineStyleWriter::LinkList(const LinkTargets& links)
{
    out_ += LinkListText(links, "color: " + std::string(theme_.link));
}

void InlineStyleWriter::BreakLine()
{
    if (lineEnded_)
        out_ += "\r\n";
    lineEnded_ = false;
}

void InlineStyleWriter::BlockStart(std::string_view id)
{
    BreakLine();
    out_ += blockOpen_;
    out_ += EscapeName(id);
    out_ += lineOpen_;
}

void InlineStyleWriter::BlockEnd()
{
    out_ += "</p></div>";
}

void InlineStyleWriter::LineStart(std::int32_t, std::string_view)
{
    BreakLine();
}

void InlineStyleWriter::Tokens(std::span<const Token> tokens)
{
    for (const Token& token : tokens) {
        const bool span = token.kind != TokenKind::Text;
        if (span && token.role != Token::Role::Close)
            out_ += openers_[static_cast<std::size_t>(token.kind)];
        AppendCodeText(token.text, out_);
        if (span && token.role != Token::Role::Open)
            out_ += "</span>";
    }
}

void InlineStyleWriter::LineEnd()
{
    lineEnded_ = true;
}

std::string ConvertWithInlineStyles(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                                    std::int32_t firstLine, std::int32_t lastLine, ThemeName theme, Links links)
{
    std::string html;
    InlineStyleWriter writer(html, theme);
    ConvertRange(module, keywords, entry, firstLine, lastLine, writer, links);
    return html;
}

} // namespace quillmark
