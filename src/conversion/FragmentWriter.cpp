#include "conversion/FragmentWriter.h"

#include "codemodel/ModuleText.h"
#include "conversion/HtmlEscape.h"
#include "conversion/Keywords.h"
#include "conversion/LineScanner.h"
#include "conversion/LinkLists.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace quillmark {

namespace {

constexpr std::string_view BlockOpen = "<div class=\"CodeArea\"><p id=\"";
constexpr std::string_view BlockClose = "</p></div>";

// What a token puts around its text: the opener of its kind's span, if any, and the closer, if
// any. Openers are always copied whole and closers too (the room is claimed for them), but only
// the lengths given here count, so that writing a token takes no branch.
struct Wrapping {
    const char* open;
    std::size_t openLength;
    std::size_t closeLength;
};

constexpr std::size_t Roles = 3;
constexpr std::size_t Kinds = TokenKindCount;

constexpr auto Wrappings = [] {
    constexpr std::array openers = {
        deco::Open1, deco::Open1, deco::Open2, deco::Open3, deco::Open4, deco::Open5,
    };
    static_assert(openers.size() == Kinds, "one opener for each kind");
    std::array<Wrapping, Roles * Kinds> wrappings{};
    for (std::size_t kind = 0; kind < Kinds; ++kind) {
        const bool span = kind != static_cast<std::size_t>(TokenKind::Text);
        const std::size_t open = span ? deco::OpenLength : 0;
        const std::size_t close = span ? deco::CloseLength : 0;
        wrappings[static_cast<std::size_t>(Token::Role::Piece) * Kinds + kind] = {openers[kind].data(), open, close};
        wrappings[static_cast<std::size_t>(Token::Role::Open) * Kinds + kind] = {openers[kind].data(), open, 0};
        wrappings[static_cast<std::size_t>(Token::Role::Close) * Kinds + kind] = {openers[kind].data(), 0, close};
    }
    return wrappings;
}();

// The longest that one character of code becomes.
constexpr std::size_t MaxEscapedLength = 5;

constexpr auto Escaped = [] {
    std::array<bool, 256> escaped{};
    for (int c = 0; c < 256; ++c)
        escaped[c] = !CodeEntity(static_cast<char>(c)).empty();
    return escaped;
}();

char* CopyEscaped(char* to, std::string_view text)
{
    for (const char c : text) {
        if (!Escaped[static_cast<unsigned char>(c)]) {
            *to++ = c;
        } else {
            const std::string_view entity = CodeEntity(c);
            std::memcpy(to, entity.data(), entity.size());
            to += entity.size();
        }
    }
    return to;
}

constexpr std::size_t LongLine = 1 << 20;
// The length up to which a piece counts as short, as many bytes as may be read past a line.
constexpr std::size_t ShortPiece = ModuleText::Padding;

// Spaces and tabs alone make a blank line in Markdown.
bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The link list's lines joined for Markdown; a placeholder's empty line never stands alone.
std::string MarkdownLines(std::string_view text)
{
    std::string joined;
    for (std::size_t from = 0;;) {
        const std::size_t end = text.find("\r\n", from);
        joined.append(text, from, end == std::string_view::npos ? std::string_view::npos : end - from);
        if (end == std::string_view::npos)
            return joined;
        from = end + 2;
        joined += text.substr(from).starts_with("\r\n") ? "&#10;" : "\n";
    }
}

} // namespace

FragmentWriter::FragmentWriter(OutputBuffer& out, std::int32_t expectedLines, LineBreaks breaks)
    : out_(out), expectedLines_(expectedLines), breaks_(breaks), codeStart_(out.Size())
{}

void FragmentWriter::LinkList(const LinkTargets& links)
{
    const std::string list = LinkListText(links);
    out_.Append(breaks_ == LineBreaks::Markdown ? MarkdownLines(list) : list);
    codeStart_ = out_.Size();
}

void FragmentWriter::BreakLine(bool beforeBlank)
{
    // One call for each break, so that each copies a length known where it is compiled.
    if (lineEnded_ && breaks_ == LineBreaks::CrLf)
        out_.Append("\r\n");
    else if (lineEnded_ && beforeBlank)
        out_.Append("&#10;");
    else if (lineEnded_)
        out_.Append("\n");
    lineEnded_ = false;
}

void FragmentWriter::BlockStart(std::string_view id)
{
    BreakLine();
    out_.Append(BlockOpen);
    out_.Append(EscapeName(id));
    out_.Append("\">");
}

void FragmentWriter::BlockEnd()
{
    out_.Append(BlockClose);
}

void FragmentWriter::LineStart(std::int32_t, std::string_view text)
{
    BreakLine(breaks_ == LineBreaks::Markdown && IsBlank(text));
    line_ = text.data();
    lineSize_ = text.size();
    escape_ = NeedsCodeEscape(text, true);
    if (lineSize_ >= LongLine)
        ReserveForLongLine(text);
}

void FragmentWriter::Tokens(std::span<const Token> tokens)
{
    // The tokens' text is at most the line's; a long line comes in parts, each its own size.
    std::size_t most = lineSize_;
    if (lineSize_ >= LongLine) {
        most = 0;
        for (const Token& token : tokens)
            most += token.text.size();
    }
    if (escape_)
        most *= MaxEscapedLength;
    most += tokens.size() * (deco::OpenLength + deco::CloseLength) + ShortPiece;
    char* at = out_.Claim(most);
    for (const Token& token : tokens) {
        const Wrapping& wrapping =
            Wrappings[static_cast<std::size_t>(token.role) * Kinds + static_cast<std::size_t>(token.kind)];
        std::memcpy(at, wrapping.open, deco::OpenLength);
        at += wrapping.openLength;
        const std::size_t n = token.text.size();
        if (escape_) {
            at = CopyEscaped(at, token.text);
        } else if (n <= ShortPiece) {
            // A short piece is copied as if it were as long as the longest, reading into the
            // padding after the line and writing into the room claimed: no branch on its length.
            std::memcpy(at, n > 0 ? token.text.data() : line_, ShortPiece);
            at += n;
        } else {
            std::memcpy(at, token.text.data(), n);
            at += n;
        }
        std::memcpy(at, deco::Close.data(), deco::CloseLength);
        at += wrapping.closeLength;
    }
    out_.Commit(at);
}

void FragmentWriter::LineEnd()
{
    lineEnded_ = true;
    if (++linesDone_ != OutputBuffer::SampleLines || expectedLines_ <= OutputBuffer::SampleLines)
        return;
    out_.ReserveLike(out_.Size() - codeStart_, OutputBuffer::SampleLines,
                     static_cast<std::size_t>(expectedLines_ - OutputBuffer::SampleLines));
}

// Sets memory aside at once for all that a long line may become, on top of the room already
// set aside for the lines after it: growing the output as the line is decorated would copy it,
// holding it twice for a moment. Memory set aside is only touched as it is written; where the
// address space is short, the output grows as it goes.
void FragmentWriter::ReserveForLongLine(std::string_view text)
{
    const std::size_t most =
        EscapedCodeSize(text) + LineScanner::MaxSpans(text) * (deco::OpenLength + deco::CloseLength);
    if (out_.Room() >= most)
        return;
    try {
        out_.Reserve(out_.Room() + most);
    } catch (const std::bad_alloc&) {
    }
}

} // namespace quillmark
