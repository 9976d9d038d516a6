#include "conversion/Converter.h"

#include "codemodel/RuntimeError.h"
#include "codemodel/TextBackedModule.h"
#include "conversion/BlockPlan.h"
#include "conversion/HtmlEscape.h"
#include "conversion/Keywords.h"
#include "conversion/LineScanner.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace quillmark {

namespace {

constexpr std::int64_t SampleLines = 256;

// Sets memory aside once for what the sample lines promise for the rest of the range, rather
// than moving a large output again and again as it grows.
void ReserveForTheRest(OutputBuffer& out, std::size_t codeStart, std::int64_t lastDone, std::int32_t lastInModule)
{
    if (lastInModule <= lastDone)
        return;
    const std::size_t perLine = (out.Size() - codeStart) / SampleLines + 1;
    const auto rest = static_cast<std::size_t>(lastInModule - lastDone);
    out.Reserve(rest * perLine + rest * perLine / 4);
}

// Sets memory aside at once for all that a long line may become, on top of the room already
// set aside for the lines after it: growing the output as the line is decorated would copy it,
// holding it twice for a moment. Memory set aside is only touched as it is written; where the
// address space is short, the output grows as it goes.
void ReserveForLongLine(OutputBuffer& out, std::string_view line)
{
    constexpr std::size_t LongLine = 1 << 20;
    if (line.size() < LongLine)
        return;
    const std::size_t most = LineScanner::MaxDecoratedSize(line);
    if (out.Room() >= most)
        return;
    try {
        out.Reserve(out.Room() + most);
    } catch (const std::bad_alloc&) {
    }
}

bool IsWholeLineComment(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first != std::string_view::npos && text[first] == '\'';
}

void AppendLinkList(const std::vector<std::string>& list, OutputBuffer& out)
{
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (k > 0)
            out.Append("\r\n");
        out.Append(list[k]);
    }
}

} // namespace

std::string ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                         std::int32_t firstLine, std::int32_t lastLine, const LinkListMaker& linkList)
{
    if (lastLine < firstLine)
        throw RuntimeError(err::SubscriptOutOfRange, {{}, std::string(module.name)}, "the range ends before it starts");
    BlockPlan blocks(entry, module, firstLine, lastLine);

    OutputBuffer out;
    // With a valid plan the list has nothing left that could fail, so a list is never built
    // for a conversion that is going to fail.
    if (linkList && blocks.Valid())
        AppendLinkList(linkList(), out);

    const std::size_t codeStart = out.Size();
    LineScanner scanner(keywords);
    std::string escaped;
    bool inCommentRun = false;
    for (std::int64_t number = firstLine; number <= lastLine; ++number) {
        const auto line = static_cast<std::int32_t>(number);
        try {
            if (line > firstLine)
                out.Append("\r\n");
            blocks.AppendOpeners(line, out);

            const std::string_view html = EscapeCodeText(module.lines.Line(line), escaped);
            ReserveForLongLine(out, html);
            if (scanner.Scan(html, out) == LineScanner::Result::WholeLineComment) {
                // One span over a run of whole-line comments; it never crosses a block or the
                // range's end, so the HTML stays well nested.
                const bool runGoesOn = !blocks.EndsCommentRun(line) && IsWholeLineComment(module.lines.Line(line + 1));
                if (!inCommentRun)
                    out.Append(deco::Open1);
                out.Append(html);
                if (!runGoesOn)
                    out.Append(deco::Close);
                inCommentRun = runGoesOn;
            }
            blocks.AppendClosers(line, out);
            if (number - firstLine + 1 == SampleLines)
                ReserveForTheRest(out, codeStart, number, std::min(lastLine, module.lines.Count()));
        } catch (...) {
            RuntimeError error = CurrentError();
            error.Locate({{}, std::string(module.name), line});
            throw error;
        }
    }
    if (!blocks.Valid())
        throw RuntimeError(err::SubscriptOutOfRange, {{}, std::string(module.name)},
                           "the procedure index does not match the module");
    return out.Take();
}

} // namespace quillmark
