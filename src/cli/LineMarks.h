#pragma once

#include "codemodel/ProcedureIndex.h"
#include "conversion/LineMarking.h"
#include "conversion/OutputBuffer.h"
#include "conversion/TokenSink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// The empty mark in front of each line of code on a page: the line's anchor "L<n>", n its
// number in the module, which a targeted line is highlighted by; with numbers shown, also a link
// to itself that the style sheet numbers (class Ln), so that copied code carries no numbers; on a
// marked line, first an empty span (class Marked) that the style sheet draws behind the line.
class LineMarks {
public:
    // index: the module's procedures, whose blocks' ids a line's anchor must not take.
    LineMarks(bool numbered, const ProcedureIndex& index, const LineMarking* marking = nullptr);

    void Append(std::int32_t line, std::string& out) const;
    // Whether the line's anchor is a procedure's id, so that the line has none of its own.
    bool IsTaken(std::int32_t line) const;

private:
    bool numbered_;
    const LineMarking* marking_;
    // Lines whose anchor is a procedure's id already ("Sub L12"): the procedure's links keep
    // leading to it, and such a line has no anchor.
    std::vector<std::int32_t> taken_;
};

// The lines of a list such as "3,7-9" (numbers from 1, each span in order), in order and merged;
// nothing when the text is no such list.
std::optional<std::vector<LineSpan>> ParseLineList(std::string_view text);

// Passes a conversion on to writer, which writes into out, with each line's mark in front of it.
class MarkedLines final : public TokenSink {
public:
    MarkedLines(TokenSink& writer, OutputBuffer& out, const LineMarks& marks);

    void LinkList(const LinkTargets& links) override { writer_.LinkList(links); }
    void BlockStart(std::string_view id) override { writer_.BlockStart(id); }
    void BlockEnd() override { writer_.BlockEnd(); }
    void LineStart(std::int32_t number, std::string_view text) override;
    void Tokens(std::span<const Token> tokens) override { writer_.Tokens(tokens); }
    void LineEnd() override { writer_.LineEnd(); }

private:
    TokenSink& writer_;
    OutputBuffer& out_;
    const LineMarks& marks_;
    std::string mark_;
};

} // namespace quillmark::cli
