#pragma once

#include "base/RuntimeError.h"
#include "codemodel/BracketedNames.h"
#include "conversion/KeywordLookup.h"
#include "conversion/TokenSink.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace quillmark {

// Reads code lines in a single left-to-right pass each and reports their tokens to a sink.
// Every rule of what a piece of a line is lives here, in the order the rules are tried (those
// that every reader of code shares in CodeSyntax); a run of whole-line comments, which depends
// on the lines around it, is the caller's to mark.
class LineScanner {
public:
    // keywords may be null: the first keyword lookup then fails with error 91.
    LineScanner(const KeywordTable* keywords, TokenSink& sink) : keywords_(keywords), sink_(sink) {}
    LineScanner(const LineScanner&) = delete;
    LineScanner& operator=(const LineScanner&) = delete;

    enum class Result {
        Converted,        // the line's tokens, if any, have been reported
        WholeLineComment, // nothing reported: CommentLine follows, once the caller knows the run
    };

    // Reports the tokens of line, a line of a module's text (read past its end as far as the
    // text's padding allows); a blank line has none. A Rem statement, and a line that a comment
    // goes on into with " _" (unless it is a whole-line comment itself), is a comment of its own
    // line, outside any run. A string literal without its closing quote fails with error 5,
    // "unterminated string literal", before any token of the line is reported.
    Result Scan(std::string_view line);

    // A whole-line comment: the run it belongs to opens before it unless it is open already,
    // and closes after it unless the run goes on.
    void CommentLine(std::string_view line, bool runGoesOn);

    // The most spans that the tokens of line, and a comment run around it, can make: each
    // character that ends or begins a piece wraps one piece at most, as does the last word.
    static std::size_t MaxSpans(std::string_view line);

private:
    enum class Step { Continue, Done };
    // A line is gathered whole before it is reported (its labels open at its start). A line of
    // more tokens than the buffer holds is read twice: once counting its labels, then handing
    // its tokens on as the buffer fills.
    enum class Mode { Gather, Count, Stream };

    void ScanCode(std::size_t start);
    Step WordEnd();
    Step Advance();
    Step StringLiteral();
    Step Colon();
    Step RemAfterColon();
    void CommentToEnd(std::size_t from);
    void EndOfLineWord();

    // Reports the line up to `from` as text, then the piece from..to as a token of kind.
    void Wrap(std::size_t from, std::size_t to, TokenKind kind)
    {
        if (end_ - next_ < 2)
            Flush();
        if (from > copied_)
            *next_++ = {TokenKind::Text, Token::Role::Piece, Piece(copied_, from)};
        *next_++ = {kind, Token::Role::Piece, Piece(from, to)};
        copied_ = to;
    }
    // Reports the line up to `to` as text.
    void CopyUpTo(std::size_t to)
    {
        if (to > copied_)
            Add({TokenKind::Text, Token::Role::Piece, Piece(copied_, to)});
        copied_ = to;
    }
    void Add(Token token)
    {
        if (next_ == end_)
            Flush();
        *next_++ = token;
    }
    std::string_view Piece(std::size_t from, std::size_t to) const { return {line_.data() + from, to - from}; }
    std::span<const Token> Gathered() const { return {tokens_.data(), next_}; }
    void Flush();
    void OpenLabels(std::size_t count);

    KeywordLookup keywords_;
    TokenSink& sink_;
    bool inCommentRun_ = false;
    bool commentGoesOn_ = false; // the last line's comment ends in a line continuation

    std::array<Token, 512> tokens_;
    Token* next_ = tokens_.data();
    Token* const end_ = tokens_.data() + tokens_.size();
    Mode mode_ = Mode::Gather;

    // Per line.
    std::string_view line_;
    BracketedNames brackets_;
    std::size_t copied_ = 0;    // the line's characters before this one have been reported
    std::size_t pos_ = 0;       // character being dispatched
    std::size_t wordStart_ = 0; // first character of the word being read
    std::size_t labels_ = 0;    // label definitions met, whose spans open at the line's start
    bool label_ = true;         // a label may stand here: first word, or right after GoTo/Resume
    bool delimiter_ = false;    // a delimiter or a string literal has been met on the line
};

} // namespace quillmark
