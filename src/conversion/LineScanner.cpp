#include "conversion/LineScanner.h"

#include "codemodel/RuntimeError.h"
#include "conversion/Keywords.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quillmark {

namespace {

constexpr bool IsDelimiter(char c)
{
    return c == ' ' || c == '(' || c == ',' || c == ')';
}

// Characters that the scan only steps over. Bytes of multi-byte UTF-8 characters are all
// such characters, so no character is ever split. A "[" is dispatched, to step over the
// bracketed name it may open.
constexpr auto PlainCharacters = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c)
        plain[c] = !IsDelimiter(static_cast<char>(c)) && c != '"' && c != '\'' && c != ':' && c != '[';
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

} // namespace

std::size_t LineScanner::MaxDecoratedSize(std::string_view line)
{
    const auto marks =
        static_cast<std::size_t>(std::count_if(line.begin(), line.end(), [](char c) { return !IsPlain(c); }));
    return line.size() + (marks + 2) * (deco::OpenLength + deco::CloseLength);
}

LineScanner::Result LineScanner::Scan(std::string_view line, OutputBuffer& out)
{
    line_ = line;
    brackets_ = BracketedNames(line);
    out_ = &out;
    lineStart_ = out.Size();
    copied_ = 0;
    label_ = true;
    delimiter_ = false;
    labels_ = 0;

    pos_ = line_.find_first_not_of(' ');
    if (pos_ == std::string_view::npos)
        return Result::Converted; // a blank line gives an empty element
    wordStart_ = pos_;
    if (line_[pos_] == '\'')
        return Result::WholeLineComment;

    ScanCode();
    // Each label definition wraps the line from its start; the openers all go in front at once.
    if (labels_ > 0)
        out_->Insert(lineStart_, deco::Open4, labels_);
    return Result::Converted;
}

void LineScanner::ScanCode()
{
    while (pos_ < line_.size()) {
        Step step;
        switch (line_[pos_]) {
        case '"': step = StringLiteral(); break;
        case ' ':
        case '(':
        case ',':
        case ')': step = WordEnd(); break;
        case '\'': Comment(); return;
        case ':': step = Colon(); break;
        case '[':
            pos_ = brackets_.End(pos_); // a bracketed name is read as plain characters
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
            Wrap(wordStart_, pos_, deco::Open3);
            if (word == "GoTo" || word == "Resume")
                label_ = true;
        } else if (IsNameStart(word.front())) {
            Wrap(wordStart_, pos_, deco::Open5);
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
    std::size_t pos = pos_;
    do
        ++pos;
    while (pos + 1 < n && IsPlain(text[pos]));
    pos_ = pos;
    if (pos + 1 < n)
        return Step::Continue;
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
    Wrap(pos_, close + 1, deco::Open2);
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
        Wrap(wordStart_, pos_, deco::Open5);
        pos_ += 2;
        wordStart_ = pos_;
        label_ = false;
        return Step::Continue;
    }
    if (!label_) {
        if (atEnd) {
            Wrap(wordStart_, n, deco::Open5);
            return Step::Done;
        }
        ++pos_;
        return Step::Continue;
    }
    if (atEnd || next == ' ') {
        // Label definition: everything from the line's first character through the colon,
        // markers already written included. Its opener is put in front when the line is done.
        CopyUpTo(pos_ + 1);
        out_->AppendExactly<deco::CloseLength>(deco::Close.data());
        ++labels_;
        ++pos_;
        wordStart_ = pos_;
        return Step::Continue;
    }
    ++pos_;
    label_ = false;
    return Step::Continue;
}

void LineScanner::EndOfLineWord()
{
    const std::size_t n = line_.size();
    const std::string_view word = line_.substr(wordStart_);
    if (keywords_.IsKeyword(word))
        Wrap(wordStart_, n, deco::Open3);
    else if (label_ && delimiter_)
        Wrap(wordStart_, n, deco::Open4); // the jump target right after GoTo or Resume
    else if (!word.empty() && IsNameStart(word.front()))
        Wrap(wordStart_, n, deco::Open5);
    CopyUpTo(n);
}

void LineScanner::Comment()
{
    Wrap(pos_, line_.size(), deco::Open1);
}

void LineScanner::Wrap(std::size_t from, std::size_t to, std::string_view open)
{
    const std::size_t gap = from - copied_;
    const std::size_t length = to - from;
    char* at = out_->Extend(gap + deco::OpenLength + length + deco::CloseLength);
    CopyText(at, line_.data() + copied_, gap);
    at += gap;
    std::memcpy(at, open.data(), deco::OpenLength);
    at += deco::OpenLength;
    CopyText(at, line_.data() + from, length);
    at += length;
    std::memcpy(at, deco::Close.data(), deco::CloseLength);
    copied_ = to;
}

void LineScanner::CopyUpTo(std::size_t to)
{
    out_->Append(std::string_view(line_.data() + copied_, to - copied_));
    copied_ = to;
}

} // namespace quillmark
