#include "conversion/InlineStyleWriter.h"

#include "codemodel/ModuleText.h"
#include "conversion/HtmlEscape.h"
#include "conversion/LinkLists.h"

#include <cstring>

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

constexpr std::string_view SpanClose = "</span>";
constexpr std::size_t MaxEscapedLength = 5;

char* Copy(char* to, std::string_view text)
{
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

char* CopyEscaped(char* to, std::string_view text)
{
    for (const char c : text) {
        const std::string_view entity = CodeEntity(c);
        if (entity.empty())
            *to++ = c;
        else
            to = Copy(to, entity);
    }
    return to;
}

} // namespace

// The same looks as the style sheet's .CodeArea rules; the editor's theme puts a rule between
// blocks instead of a bar beside each.
InlineStyleWriter::InlineStyleWriter(OutputBuffer& out, ThemeName name, const LineMarking& marking,
                                     std::int32_t expectedLines)
    : out_(out), theme_(ThemeOf(name)), marking_(marking), expectedLines_(expectedLines), codeStart_(out.Size())
{
    const Theme& theme = theme_;
    for (std::size_t kind = 1; kind < openers_.size(); ++kind) {
        openers_[kind] = SpanOpener(theme.deco[kind - 1]);
        longestOpener_ = std::max(longestOpener_, openers_[kind].size());
    }
    const std::string rule = std::string(theme.rule);
    const bool editor = name == ThemeName::Editor;
    blockOpen_ = "<div style=\"" +
                 std::string(editor ? "margin: 0; border-top: 1px solid " + rule
                                    : "margin: 0 0 1em; border-left: 3px solid " + rule) +
                 "; background: " + std::string(theme.code) + "\"><p id=\"";
    // A marked line's box is placed against its block and drawn behind the code.
    lineOpen_ = "\" style=\"margin: 0; padding: .5em 1em; white-space: pre; overflow-x: auto; color: " +
                std::string(theme.plain) + "; background: " + std::string(theme.code) +
                "; font-family: " + FontFamily(theme) + "; font-size: 10pt; line-height: 1.35" +
                (marking.marked.empty() ? "" : "; position: relative; z-index: 0") + "\">";
    numberOpen_ = "<span style=\"display: inline-block; min-width: 4ch; margin-right: 1.5ch; text-align: right; "
                  "color: " +
                  std::string(theme.muted) + "; user-select: none; -webkit-user-select: none\">";
    markBox_ = "<span style=\"position: absolute; left: 0; right: 0; height: 1.35em; z-index: -1; background: " +
               std::string(theme.target) + "\"></span>";
}

void InlineStyleWriter::LinkList(const LinkTargets& links)
{
    out_.Append(LinkListText(links, "color: " + std::string(theme_.link)));
}

void InlineStyleWriter::BreakLine()
{
    if (lineEnded_)
        out_.Append("\r\n");
    lineEnded_ = false;
}

void InlineStyleWriter::BlockStart(std::string_view id)
{
    BreakLine();
    out_.Append(blockOpen_);
    out_.Append(EscapeName(id));
    out_.Append(lineOpen_);
}

void InlineStyleWriter::BlockEnd()
{
    out_.Append("</p></div>");
}

void InlineStyleWriter::LineStart(std::int32_t number, std::string_view text)
{
    BreakLine();
    line_ = text.data();
    lineSize_ = text.size();
    escape_ = NeedsCodeEscape(text, true);
    if (!marking_.Any())
        return;
    if (marking_.IsMarked(number))
        out_.Append(markBox_);
    if (marking_.numbered) {
        out_.Append(numberOpen_);
        out_.Append(std::to_string(number));
        out_.Append(SpanClose);
    }
}

void InlineStyleWriter::Tokens(std::span<const Token> tokens)
{
    std::size_t most = 0;
    for (const Token& token : tokens)
        most += token.text.size();
    if (escape_)
        most *= MaxEscapedLength;
    most += tokens.size() * (longestOpener_ + SpanClose.size());
    char* at = out_.Claim(most);
    for (const Token& token : tokens) {
        const bool span = token.kind != TokenKind::Text;
        if (span && token.role != Token::Role::Close)
            at = Copy(at, openers_[static_cast<std::size_t>(token.kind)]);
        if (escape_) {
            at = CopyEscaped(at, token.text);
        } else {
            CopyText(at, token.text.data(), token.text.size());
            at += token.text.size();
        }
        if (span && token.role != Token::Role::Open)
            at = Copy(at, SpanClose);
    }
    out_.Commit(at);
}

void InlineStyleWriter::LineEnd()
{
    lineEnded_ = true;
    if (++linesDone_ == OutputBuffer::SampleLines && expectedLines_ > OutputBuffer::SampleLines)
        out_.ReserveLike(out_.Size() - codeStart_, OutputBuffer::SampleLines,
                         static_cast<std::size_t>(expectedLines_ - OutputBuffer::SampleLines));
}

std::string ConvertWithInlineStyles(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                                    std::int32_t firstLine, std::int32_t lastLine, ThemeName theme, Links links,
                                    const LineMarking& marking)
{
    OutputBuffer html;
    InlineStyleWriter writer(html, theme, marking, std::min(lastLine, module.lines.Count()) - firstLine + 1);
    ConvertRange(module, keywords, entry, firstLine, lastLine, writer, links);
    return html.Take();
}

} // namespace quillmark
