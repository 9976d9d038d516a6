#pragma once

#include "conversion/Converter.h"
#include "conversion/LineMarking.h"
#include "conversion/OutputBuffer.h"
#include "conversion/Themes.h"
#include "conversion/TokenSink.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark {

// Writes the fragment that FragmentWriter writes (the same blocks, ids, links and line breaks)
// with the theme's looks in style attributes instead of classes, for places that keep no style
// sheet: e-mail, word processors, the editors of blogs. Numbers go in front of their lines as
// text that a browser leaves out of a copy; a marked line gets a box of the theme's target colour
// behind it, as wide as its block.
class InlineStyleWriter final : public TokenSink {
public:
    // expectedLines: as FragmentWriter takes it.
    InlineStyleWriter(OutputBuffer& out, ThemeName theme, const LineMarking& marking = {},
                      std::int32_t expectedLines = 0);

    void LinkList(const LinkTargets& links) override;
    void BlockStart(std::string_view id) override;
    void BlockEnd() override;
    void LineStart(std::int32_t number, std::string_view text) override;
    void Tokens(std::span<const Token> tokens) override;
    void LineEnd() override;

private:
    void BreakLine();

    OutputBuffer& out_;
    const Theme& theme_;
    const LineMarking marking_; // a copy: a default argument would not outlive the constructor
    std::int32_t expectedLines_;
    std::int32_t linesDone_ = 0;
    std::size_t codeStart_;
    std::array<std::string, TokenKindCount> openers_; // a span's opening tag for each TokenKind
    std::size_t longestOpener_ = 0;
    std::string blockOpen_; // up to the block's id
    std::string lineOpen_;  // after the id
    std::string numberOpen_;
    std::string markBox_;
    const char* line_ = nullptr;
    std::size_t lineSize_ = 0;
    bool escape_ = false;
    bool lineEnded_ = false;
};

// The fragment of lines firstLine..lastLine for the entry, styled inline in theme; fails as
// ConvertRange does.
std::string ConvertWithInlineStyles(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                                    std::int32_t firstLine, std::int32_t lastLine, ThemeName theme,
                                    Links links = Links::Without, const LineMarking& marking = {});

} // namespace quillmark
