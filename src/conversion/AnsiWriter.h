#pragma once

#include "conversion/LineMarking.h"
#include "conversion/OutputBuffer.h"
#include "conversion/TerminalColours.h"
#include "conversion/Themes.h"
#include "conversion/TokenSink.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillmark {

// Writes the code for a terminal: its text as it is, each line ended by LF, each kind of token
// in the theme's colour (and boldness, italics) through ANSI escape sequences, the rest in the
// terminal's own colour. Every line ends with the looks reset, so that a pager may show any line
// alone. Numbers stand in a gutter in front of the lines; a marked line has the theme's target
// colour behind it, across the terminal. At depth none, no escape sequence at all.
class AnsiWriter final : public TokenSink {
public:
    // lastLine: the highest number the gutter shows, which sets its width; expectedLines: as
    // FragmentWriter takes it.
    AnsiWriter(OutputBuffer& out, ThemeName theme, ColourDepth depth, const LineMarking& marking, std::int32_t lastLine,
               std::int32_t expectedLines = 0);

    void BlockStart(std::string_view) override {}
    void BlockEnd() override {}
    void LineStart(std::int32_t number, std::string_view text) override;
    void Tokens(std::span<const Token> tokens) override;
    void LineEnd() override;

private:
    OutputBuffer& out_;
    const LineMarking& marking_;
    std::int32_t expectedLines_;
    std::int32_t linesDone_ = 0;
    std::size_t codeStart_;
    bool coloured_;
    std::array<std::string, TokenKindCount> looks_; // the sequence that sets each kind's looks
    std::size_t longestLook_ = 0;
    std::string gutterLook_;
    std::string markLook_;
    int gutterWidth_;
    TokenKind shown_ = TokenKind::Text; // the looks the terminal has now
    TokenKind run_ = TokenKind::Text;   // the kind of a span open over several pieces
    bool marked_ = false;
};

} // namespace quillmark
