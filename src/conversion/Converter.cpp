#include "conversion/Converter.h"

#include "base/RuntimeError.h"
#include "codemodel/ByteBlocks.h"
#include "codemodel/TextBackedModule.h"
#include "conversion/BlockPlan.h"
#include "conversion/FragmentWriter.h"
#include "conversion/LineScanner.h"
#include "conversion/LinkLists.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace quillmark {

namespace {

bool IsWholeLineComment(std::string_view text)
{
    const std::size_t first = byteblocks::Skip<' '>(text);
    return first < text.size() && text[first] == '\'';
}

BlockPlan PlanBlocks(const ModuleView& module, const Entry& entry, std::int32_t firstLine, std::int32_t lastLine)
{
    if (lastLine < firstLine)
        throw RuntimeError(err::SubscriptOutOfRange, {{}, std::string(module.name)}, "the range ends before it starts");
    return BlockPlan(entry, module, firstLine, lastLine);
}

enum class Decoration { Tokens, None };

// Reports lines line..lastLine to sink, each inside the blocks that open and close around it;
// line is the one being reported when something fails. Kept out of the caller's handler: under
// WebAssembly every call made within one goes the slow way round, through JavaScript.
[[gnu::noinline]] void ReportLinesFrom(const ModuleView& module, BlockPlan& blocks, std::int32_t& line,
                                       std::int32_t lastLine, TokenSink& sink, LineScanner* scanner)
{
    for (; line <= lastLine; ++line) {
        blocks.StartBlocks(line, sink);
        const std::string_view text = module.lines.Line(line);
        sink.LineStart(line, text);
        if (scanner == nullptr) {
            if (!text.empty()) {
                const Token whole{TokenKind::Text, Token::Role::Piece, text};
                sink.Tokens({&whole, 1});
            }
        } else if (scanner->Scan(text) == LineScanner::Result::WholeLineComment) {
            // One span over a run of whole-line comments; it never crosses a block or the
            // range's end, so the HTML stays well nested.
            scanner->CommentLine(text, !blocks.EndsCommentRun(line) && IsWholeLineComment(module.lines.Line(line + 1)));
        }
        sink.LineEnd();
        blocks.EndBlocks(line, sink);
        if (line == std::numeric_limits<std::int32_t>::max())
            break;
    }
}

// Reports lines firstLine..lastLine; a failure is located at its line.
void ReportLines(const ModuleView& module, const KeywordTable* keywords, BlockPlan& blocks, std::int32_t firstLine,
                 std::int32_t lastLine, TokenSink& sink, Decoration decoration)
{
    LineScanner scanner(keywords, sink);
    std::int32_t line = firstLine;
    try {
        ReportLinesFrom(module, blocks, line, lastLine, sink, decoration == Decoration::None ? nullptr : &scanner);
    } catch (...) {
        RuntimeError error = CurrentError();
        error.Locate({{}, std::string(module.name), line});
        throw error;
    }
    if (!blocks.Valid())
        throw RuntimeError(err::SubscriptOutOfRange, {{}, std::string(module.name)},
                           "the procedure index does not match the module");
}

} // namespace

std::string ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                         std::int32_t firstLine, std::int32_t lastLine, const LinkListMaker& linkList)
{
    BlockPlan blocks = PlanBlocks(module, entry, firstLine, lastLine);
    OutputBuffer out;
    // With a valid plan the list has nothing left that could fail, so a list is never built
    // for a conversion that is going to fail.
    if (linkList && blocks.Valid()) {
        const std::vector<std::string> list = linkList();
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (k > 0)
                out.Append("\r\n");
            out.Append(list[k]);
        }
    }
    FragmentWriter writer(out, std::min(lastLine, module.lines.Count()) - firstLine + 1);
    ReportLines(module, keywords, blocks, firstLine, lastLine, writer, Decoration::Tokens);
    return out.Take();
}

void ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry, std::int32_t firstLine,
                  std::int32_t lastLine, TokenSink& sink, Links links)
{
    BlockPlan blocks = PlanBlocks(module, entry, firstLine, lastLine);
    if (links == Links::With && blocks.Valid())
        sink.LinkList(LinkTargetsOf(module.name, module.index, entry));
    ReportLines(module, keywords, blocks, firstLine, lastLine, sink, Decoration::Tokens);
}

void PlainRange(const ModuleView& module, const Entry& entry, std::int32_t firstLine, std::int32_t lastLine,
                TokenSink& sink)
{
    BlockPlan blocks = PlanBlocks(module, entry, firstLine, lastLine);
    ReportLines(module, nullptr, blocks, firstLine, lastLine, sink, Decoration::None);
}

} // namespace quillmark
