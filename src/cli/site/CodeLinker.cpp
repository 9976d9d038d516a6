#include "cli/site/CodeLinker.h"

#include "codemodel/BracketedNames.h"
#include "codemodel/CodeSyntax.h"
#include "conversion/HtmlEscape.h"
#include "conversion/Keywords.h"

#include <array>

namespace quillmark::cli {

namespace {

constexpr std::string_view kBlockOpen = "<div class=\"CodeArea\"><p id=\"";
constexpr std::string_view kCodeClose = "</p>";
constexpr std::string_view kBlockClose = "</div>";
constexpr std::array<std::string_view, TokenKindCount> kSpanOpeners = {
    "", deco::Open1, deco::Open2, deco::Open3, deco::Open4, deco::Open5,
};
static_assert(kSpanOpeners.back() == deco::Open5, "one opener for each kind");
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

CodeLinker::CodeLinker(Links links, const LineMarks& marks, std::string& out, Spill spill, AfterBlock afterBlock)
    : links_(std::move(links)), marks_(marks), out_(out), spill_(std::move(spill)), afterBlock_(std::move(afterBlock))
{}

void CodeLinker::BreakLine()
{
    if (lineEnded_)
        out_ += '\n';
    lineEnded_ = false;
}

void CodeLinker::BlockStart(std::string_view id)
{
    BreakLine();
    out_ += kBlockOpen;
    out_ += EscapeName(id);
    out_ += "\">";
    declared_.StartBlock();
}

void CodeLinker::BlockEnd()
{
    out_ += kCodeClose;
    if (afterBlock_)
        afterBlock_(lineNumber_, out_);
    out_ += kBlockClose;
    continued_ = false;
}

void CodeLinker::LineStart(std::int32_t number, std::string_view text)
{
    BreakLine();
    marks_.Append(number, out_);
    lineNumber_ = number;
    declared_.StartLine(continued_);
    line_ = text;
    lastIsText_ = false;
}

void CodeLinker::Tokens(std::span<const Token> tokens)
{
    for (const Token& token : tokens) {
        switch (token.role) {
        case Token::Role::Piece: AppendPiece(token); break;
        case Token::Role::Open:
            out_ += kSpanOpeners[static_cast<std::size_t>(token.kind)];
            ++openSpans_;
            break;
        case Token::Role::Close:
            out_ += deco::Close;
            --openSpans_;
            break;
        }
        lastIsText_ = token.role == Token::Role::Piece && token.kind == TokenKind::Text;
        if (spill_ && out_.size() >= kSpillSize)
            spill_(out_);
    }
}

void CodeLinker::LineEnd()
{
    lineEnded_ = true;
    continued_ = lastIsText_ && syntax::GoesOn(line_);
}

void CodeLinker::AppendPiece(const Token& token)
{
    if (token.kind == TokenKind::Text) {
        if (openSpans_ == 0)
            AppendNames(token.text);
        else
            AppendCodeText(token.text, out_);
        return;
    }
    out_ += kSpanOpeners[static_cast<std::size_t>(token.kind)];
    const char* const end = token.text.data() + token.text.size();
    const bool namedArgument = std::string_view(end, line_.data() + line_.size() - end).starts_with(":=");
    if (openSpans_ == 0 && token.kind == TokenKind::Keyword)
        declared_.Keyword(token.text);
    if (openSpans_ == 0 && token.kind == TokenKind::Name && !namedArgument)
        AppendNames(token.text);
    else
        AppendCodeText(token.text, out_);
    out_ += deco::Close;
}

// Links the names of plain code text: "Name", "Module.Name", "Me.Name", and bracketed ones
// ("[Name]" means Name); ".Name" of a With block, the members of anything else (a local named
// like a module among them) and the words of a date literal are left alone.
void CodeLinker::AppendNames(std::string_view text)
{
    std::size_t copied = 0;
    std::string_view previous; // the last name, when it may qualify the next
    std::size_t previousEnd = npos;
    BracketedNames brackets(text);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        if (text[i] == '#') {
            const auto inLine = static_cast<std::size_t>(text.data() - line_.data()) + i;
            if (const std::size_t end = syntax::DateLiteralEnd(line_, inLine); end != syntax::npos) {
                i += end - inLine + 1;
                declared_.Punctuation('#');
                continue;
            }
        }
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
        const bool number =
            !bracketed && (!IsLetter(name.front()) || (start > 0 && text[start - 1] == '&' && IsRadixDigits(name)));
        const bool type = !member && !number && declared_.ExpectsType();
        const bool declared = !member && !number && declared_.Declares(name);
        const bool local = !type && !member && !number && (declared || declared_.IsLocal(name));
        if (!number && !local && (qualified || !member)) {
            const std::string href =
                links_ ? links_({lineNumber_, member ? previous : std::string_view{}, name, type}) : std::string();
            if (!href.empty()) {
                AppendCodeText(text.substr(copied, start - copied), out_);
                out_ += "<a href=\"";
                out_ += href;
                out_ += "\">";
                AppendCodeText(text.substr(start, i - start), out_);
                out_ += "</a>";
                copied = i;
            }
        }
        previous = member || local ? std::string_view{} : name;
        previousEnd = i;
    }
    AppendCodeText(text.substr(copied), out_);
}

} // namespace quillmark::cli
