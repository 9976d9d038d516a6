#pragma once

#include "conversion/OutputBuffer.h"
#include "conversion/TokenSink.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmark {

// How the fragment's lines are joined: by CR LF, as the system has always written them, or for
// Markdown, where a blank line ends the HTML block: by LF, and by the character reference
// "&#10;" before a line that holds nothing but spaces and tabs, so that no line of the output is
// blank and the browser still reads the same text.
enum class LineBreaks { CrLf, Markdown };

// Writes the HTML fragment of a conversion: Deco spans, CodeArea blocks, lines joined by CR LF,
// code text escaped, and the link list when one is reported.
class FragmentWriter final : public TokenSink {
public:
    // expectedLines: how many lines will come, so that memory for all of them is set aside
    // once the first ones show how large a line becomes.
    FragmentWriter(OutputBuffer& out, std::int32_t expectedLines, LineBreaks breaks = LineBreaks::CrLf);

    void LinkList(const LinkTargets& links) override;
    void BlockStart(std::string_view id) override;
    void BlockEnd() override;
    void LineStart(std::int32_t number, std::string_view text) override;
    void Tokens(std::span<const Token> tokens) override;
    void LineEnd() override;

private:
    void BreakLine(bool beforeBlank = false);
    void ReserveForLongLine(std::string_view text);

    OutputBuffer& out_;
    std::int32_t expectedLines_;
    LineBreaks breaks_;
    std::int32_t linesDone_ = 0;
    std::size_t codeStart_;
    const char* line_ = nullptr;
    std::size_t lineSize_ = 0;
    bool escape_ = false;    // the line holds characters that HTML escapes
    bool lineEnded_ = false; // the next line begins with a line break
};

} // namespace quillmark
