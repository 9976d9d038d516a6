#include "conversion/AnsiWriter.h"

#include <cstring>

namespace quillmark {
namespace {

constexpr std::string_view Reset = "\x1b[0m";
// Erases the rest of the row in the background colour: a marked line's colour reaches the edge.
constexpr std::string_view FillRow = "\x1b[K";

std::string Sequence(const std::string& parameters)
{
    return "\x1b[" + parameters + "m";
}

// Whitespace looks the same in any foreground: no reason to change looks for it.
bool IsSpace(std::string_view text)
{
    if (text.size() == 1) // most often the one space between two words
        return text[0] == ' ' || text[0] == '\t';
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

AnsiWriter::AnsiWriter(OutputBuffer& out, ThemeName name, ColourDepth depth, const LineMarking& marking,
                       std::int32_t lastLine, std::int32_t expectedLines)
    : out_(out), marking_(marking), expectedLines_(expectedLines), codeStart_(out.Size()),
      coloured_(depth != ColourDepth::None),
      gutterWidth_(static_cast<int>(std::to_string(std::max(lastLine, 1)).size()))
{
    if (!coloured_)
        return;
    const Theme& theme = ThemeOf(name);
    // Each sequence sets every look it changes, without a reset, so that a marked line keeps its
    // background.
    looks_[static_cast<std::size_t>(TokenKind::Text)] = Sequence("22;23;39");
    for (std::size_t kind = 1; kind < looks_.size(); ++kind) {
        const DecoLook& look = theme.deco[kind - 1];
        looks_[kind] = Sequence(std::string(look.bold ? "1" : "22") + (look.italic ? ";3;" : ";23;") +
                                ColourParameters(look.colour, depth));
    }
    for (const std::string& look : looks_)
        longestLook_ = std::max(longestLook_, look.size());
    gutterLook_ = Sequence(ColourParameters(theme.muted, depth));
    markLook_ = Sequence(ColourParameters(theme.target, depth, true));
}

void AnsiWriter::LineStart(std::int32_t number, std::string_view)
{
    shown_ = TokenKind::Text;
    marked_ = false;
    if (!marking_.Any())
        return;
    marked_ = coloured_ && marking_.IsMarked(number);
    if (marked_)
        out_.Append(markLook_);
    if (marking_.numbered) {
        const std::string digits = std::to_string(number);
        if (coloured_)
            out_.Append(gutterLook_);
        for (std::size_t pad = digits.size(); pad < static_cast<std::size_t>(gutterWidth_); ++pad)
            out_.Append(" ");
        out_.Append(digits);
        out_.Append("  ");
        if (coloured_)
            out_.Append(looks_[0]);
    }
}

void AnsiWriter::Tokens(std::span<const Token> tokens)
{
    std::size_t most = 0;
    for (const Token& token : tokens)
        most += token.text.size() + longestLook_;
    char* at = out_.Claim(most);
    for (const Token& token : tokens) {
        if (token.role != Token::Role::Piece) {
            run_ = token.role == Token::Role::Open ? token.kind : TokenKind::Text;
            continue;
        }
        const TokenKind kind = token.kind == TokenKind::Text ? run_ : token.kind;
        if (kind != shown_ && coloured_ && !(kind == TokenKind::Text && IsSpace(token.text))) {
            const std::string& look = looks_[static_cast<std::size_t>(kind)];
            CopyText(at, look.data(), look.size());
            at += look.size();
            shown_ = kind;
        }
        CopyText(at, token.text.data(), token.text.size());
        at += token.text.size();
    }
    out_.Commit(at);
}

void AnsiWriter::LineEnd()
{
    if (marked_)
        out_.Append(FillRow);
    if (shown_ != TokenKind::Text || marked_)
        out_.Append(Reset);
    out_.Append("\n");
    if (++linesDone_ == OutputBuffer::SampleLines && expectedLines_ > OutputBuffer::SampleLines)
        out_.ReserveLike(out_.Size() - codeStart_, OutputBuffer::SampleLines,
                         static_cast<std::size_t>(expectedLines_ - OutputBuffer::SampleLines));
}

} // namespace quillmark
