#include "conversion/LineScanner.h"

#include "codemodel/ByteBlocks.h"
#include "codemodel/CodeSyntax.h"

#include <algorithm>
#include <array>

namespace quillmark {

namespace {

constexpr bool IsDelimiter(char c)
{
    return c == ' ' || c == '(' || c == ',' || c == ')';
}

// Characters that the scan only steps over. Bytes of multi-byte UTF-8 characters are all
// such characters, so no character is ever split. A "[" is dispatched, to step over the
// bracketed name it may open, and a "#", to step over the date literal it may open. Line breaks
// and zero bytes, which follow every line of a module's text, are not plain either, so that a
// step over plain characters ends at the line's end without a test of its own; inside a line
// (where only a zero byte could be) dispatching one steps over it all the same.
constexpr auto PlainCharacters = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c)
        plain[c] = !IsDelimiter(static_cast<char>(c)) && c != '"' && c != '\'' && c != ':' && c != '[' && c != '#' &&
                   c != '\r' && c != '\n' && c != '\0';
    return plain;
}();

bool IsPlain(char c)
{
    return PlainCharacters[static_cast<unsigned char>(c)];
}

// Names begin with an ASCII letter or "." (a member of a With block).
bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.';
}

constexpr std::size_t LabelBatch = 64;
constexpr auto LabelOpeners = [] {
    std::array<Token, LabelBatch> openers{};
    for (Token& token : openers)
        token = {TokenKind::Label, Token::Role::Open, {}};
    return openers;
}();

} // namespace

std::size_t LineScanner::MaxSpans(std::string_view line)
{
    return static_cast<std::size_t>(std::count_if(line.begin(), line.end(), [](char c) { return !IsPlain(c); })) + 2;
}

LineScanner::Result LineScanner::Scan(std::string_view line)
{
    const std::size_t start = byteblocks::Skip<' '>(line);
    if (start == line.size()) {
        commentGoesOn_ = false;
        return Result::Converted; // a blank line gives an empty element, and ends any comment
    }
    if (line[start] == '\'') {
        commentGoesOn_ = syntax::GoesOn(line);
        return Result::WholeLineComment;
    }

    line_ = line;
    mode_ = Mode::Gather;
    if (commentGoesOn_ || ((line[start] | 0x20) == 'r' && syntax::IsRem(line, start))) {
        // A comment of its own, so that a run of comment lines stays what it was.
        next_ = tokens_.data();
        copied_ = 0;
        CommentToEnd(start);
        sink_.Tokens(Gathered());
        return Result::Converted;
    }
    ScanCode(start);
    OpenLabels(labels_);
    if (mode_ == Mode::Count) {
        // Too many tokens to gather: with its labels counted and opened, the line is read again
        // and its tokens handed on as they come.
        mode_ = Mode::Stream;
        ScanCode(start);
    }
    sink_.Tokens(Gathered());
    return Result::Converted;
}

void LineScanner::CommentLine(std::string_view line, bool runGoesOn)
{
    next_ = tokens_.data();
    if (!inCommentRun_)
        *next_++ = {TokenKind::Comment, Token::Role::Open, {}};
    *next_++ = {TokenKind::Text, Token::Role::Piece, line};
    if (!runGoesOn)
        *next_++ = {TokenKind::Comment, Token::Role::Close, {}};
    inCommentRun_ = runGoesOn;
    sink_.Tokens(Gathered());
}

void LineScanner::Flush()
{
    if (mode_ == Mode::Stream)
        sink_.Tokens(Gathered());
    else
        mode_ = Mode::Count; // what was gathered is dropped; only the labels are counted on
    next_ = tokens_.data();
}

void LineScanner::OpenLabels(std::size_t count)
{
    for (; count > LabelBatch; count -= LabelBatch)
        sink_.Tokens(LabelOpeners);
    if (count > 0)
        sink_.Tokens({LabelOpeners.data(), count});
}

void LineScanner::ScanCode(std::size_t start)
{
    commentGoesOn_ = false;
    brackets_ = BracketedNames(line_);
    next_ = tokens_.data();
    copied_ = 0;
    labels_ = 0;
    label_ = true;
    delimiter_ = false;
    pos_ = start;
    wordStart_ = start;
    if (const char first = line_[start]; first == '\t' || (first >= '0' && first <= '9')) {
        // A Rem statement behind a tab or a line number.
        if (const std::size_t statement = syntax::FirstStatement(line_, start); syntax::IsRem(line_, statement)) {
            CommentToEnd(statement);
            return;
        }
    }
    while (pos_ < line_.size()) {
        Step step;
        switch (line_[pos_]) {
        case '"': step = StringLiteral(); break;
        case ' ':
        case '(':
        case ',':
        case ')': step = WordEnd(); break;
        case '\'': // a comment behind code
            CommentToEnd(pos_);
            return;
        case ':': step = Colon(); break;
        case '[':
            pos_ = brackets_.End(pos_); // a bracketed name is read as plain characters
            step = Advance();
            break;
        case '#': // a date literal too
            if (const std::size_t close = syntax::DateLiteralEnd(line_, pos_); close != syntax::npos)
                pos_ = close;
            step = Advance();
            break;
        default: step = Advance(); break;
        }
        if (step == Step::Done)
            return;
    }
    CopyUpTo(line_.size());
}

LineScanner::Step LineScanner::WordEnd()
{
    label_ = false;
    delimiter_ = true;
    const std::string_view word(line_.data() + wordStart_, pos_ - wordStart_);
    if (!word.empty()) {
        if (keywords_.IsKeyword(word)) {
            Wrap(wordStart_, pos_, TokenKind::Keyword);
            if (word == "GoTo" || word == "Resume")
                label_ = true;
        } else if (IsNameStart(word.front())) {
            Wrap(wordStart_, pos_, TokenKind::Name);
        } else {
            // Numbers and operators stay bare; the delimiter is not dispatched on its own again.
            wordStart_ = pos_ + 1;
            return Advance();
        }
    }
    ++pos_;
    wordStart_ = pos_;
    return Step::Continue;
}

LineScanner::Step LineScanner::Advance()
{
    const char* const text = line_.data();
    const std::size_t n = line_.size();
    std::size_t pos = pos_ + 1;
    while (IsPlain(text[pos]))
        ++pos;
    if (pos + 1 < n) {
        pos_ = pos;
        return Step::Continue;
    }
    pos_ = std::max(pos_ + 1, n - 1);
    // The last character is dispatched only when it is ":" or ")"; any other belongs to the
    // end-of-line word, even a delimiter or a quote.
    const char last = line_[n - 1];
    if (last == ':' || last == ')')
        return Step::Continue;
    EndOfLineWord();
    return Step::Done;
}

LineScanner::Step LineScanner::StringLiteral()
{
    const std::size_t close = line_.find('"', pos_ + 1);
    if (close == std::string_view::npos)
        throw RuntimeError(err::InvalidCall, {}, "unterminated string literal");
    Wrap(pos_, close + 1, TokenKind::String);
    pos_ = close + 1;
    wordStart_ = pos_;
    label_ = false;
    delimiter_ = true;
    return Step::Continue;
}

LineScanner::Step LineScanner::Colon()
{
    const std::size_t n = line_.size();
    const bool atEnd = pos_ + 1 == n;
    const char next = atEnd ? '\0' : line_[pos_ + 1];

    if (!atEnd && next == '=') {
        // Named argument: the name is wrapped without a keyword lookup, even when empty.
        Wrap(wordStart_, pos_, TokenKind::Name);
        pos_ += 2;
        wordStart_ = pos_;
        label_ = false;
        return Step::Continue;
    }
    if (!label_) {
        if (atEnd) {
            Wrap(wordStart_, n, TokenKind::Name);
            return Step::Done;
        }
        ++pos_;
        return RemAfterColon();
    }
    if (atEnd || next == ' ') {
        // Label definition: everything from the line's first character through the colon,
        // tokens already reported included. Its span opens at the line's start.
        CopyUpTo(pos_ + 1);
        Add({TokenKind::Label, Token::Role::Close, {}});
        ++labels_;
        ++pos_;
        wordStart_ = pos_;
        return RemAfterColon();
    }
    ++pos_;
    label_ = false;
    return RemAfterColon();
}

LineScanner::Step LineScanner::RemAfterColon()
{
    const std::size_t statement = syntax::SkipBlanks(line_, pos_);
    if (!syntax::IsRem(line_, statement))
        return Step::Continue;
    // The word that the colon ends is what a delimiter would have made of it.
    const std::string_view word(line_.data() + wordStart_, pos_ - wordStart_);
    if (!word.empty() && keywords_.IsKeyword(word))
        Wrap(wordStart_, pos_, TokenKind::Keyword);
    else if (!word.empty() && IsNameStart(word.front()))
        Wrap(wordStart_, pos_, TokenKind::Name);
    CommentToEnd(statement);
    return Step::Done;
}

void LineScanner::CommentToEnd(std::size_t from)
{
    Wrap(from, line_.size(), TokenKind::Comment);
    commentGoesOn_ = syntax::GoesOn(line_);
}

void LineScanner::EndOfLineWord()
{
    const std::size_t n = line_.size();
    const std::string_view word = line_.substr(wordStart_);
    if (keywords_.IsKeyword(word))
        Wrap(wordStart_, n, TokenKind::Keyword);
    else if (label_ && delimiter_)
        Wrap(wordStart_, n, TokenKind::Label); // the jump target right after GoTo or Resume
    else if (!word.empty() && IsNameStart(word.front()))
        Wrap(wordStart_, n, TokenKind::Name);
    CopyUpTo(n);
}

} // namespace quillmark
