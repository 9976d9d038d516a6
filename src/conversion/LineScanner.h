#pragma once

#include "codemodel/BracketedNames.h"
#include "codemodel/RuntimeError.h"
#include "conversion/KeywordLookup.h"
#include "conversion/OutputBuffer.h"

#include <cstddef>
#include <string_view>

namespace quillmark {

// Decorates one code line in a single left-to-right pass, appending the result to an output
// buffer. Markers are never rescanned: the scan reads the line, the markers go only to the
// output.
class LineScanner {
public:
    // keywords may be null: the first keyword lookup then fails with error 91.
    explicit LineScanner(const KeywordTable* keywords) : keywords_(keywords) {}

    enum class Result {
        Converted,        // the decorated line, if any, has been appended
        WholeLineComment, // nothing appended: the caller decides how the comment run is marked
    };

    // line: with "<" and ">" escaped. A blank line (spaces only) appends nothing. A string
    // literal without its closing quote fails with error 5, "unterminated string literal".
    Result Scan(std::string_view line, OutputBuffer& out);

    // The most that Scan, and a comment run around the line, can append for line: each
    // character that ends or begins a piece wraps one piece at most, as does the last word.
    static std::size_t MaxDecoratedSize(std::string_view line);

private:
    enum class Step { Continue, Done };

    void ScanCode();
    Step WordEnd();
    Step Advance();
    Step StringLiteral();
    Step Colon();
    void EndOfLineWord();
    void Comment();

    // Copies the line up to `from`, then the piece from..to inside open and the closing marker.
    void Wrap(std::size_t from, std::size_t to, std::string_view open);
    void CopyUpTo(std::size_t to);

    KeywordLookup keywords_;

    // Per line.
    std::string_view line_;
    BracketedNames brackets_;
    OutputBuffer* out_ = nullptr;
    std::size_t lineStart_ = 0; // where this line begins in the output
    std::size_t copied_ = 0;    // the line's characters before this one are in the output
    std::size_t pos_ = 0;       // character being dispatched
    std::size_t wordStart_ = 0; // first character of the word being read
    std::size_t labels_ = 0;    // label definitions, whose openers are still to be put in front
    bool label_ = true;         // a label may stand here: first word, or right after GoTo/Resume
    bool delimiter_ = false;    // a delimiter or a string literal has been met on the line
};

} // namespace quillmark
