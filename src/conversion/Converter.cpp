#include "conversion/Converter.h"

#include "codemodel/ModHtml.h"
#include "codemodel/RuntimeError.h"
#include "conversion/BlockPlan.h"
#include "conversion/HtmlEscape.h"
#include "conversion/Keywords.h"
#include "conversion/LineScanner.h"
#include "conversion/LinkLists.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace quillmark {

namespace {

std::shared_ptr<CodeModule> OpenModule(const std::shared_ptr<VBProject>& project, const std::string& moduleName)
{
    auto module = Obj(Obj(Obj(project).VBComponents()).Item(moduleName)).CodeModule();
    Obj(module);
    return module;
}

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

bool IsWholeLineComment(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first != std::string_view::npos && text[first] == '\'';
}

void AppendLinkList(const std::string& procName, const ModHtmlState& state, OutputBuffer& out)
{
    std::vector<std::string> list;
    if (procName == "*")
        list = CreateLinkList(state.ProcIndex);
    else if (procName == "_Declarations_")
        list = CreateLinkDec();
    else
        list = CreateLink(procName);
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (k > 0)
            out.Append("\r\n");
        out.Append(list[k]);
    }
}

std::string Convert(const std::shared_ptr<VBProject>& project, const std::string& procName, std::int32_t& firstLine,
                    std::int32_t& lastLine, bool linkFlag)
{
    const ModHtmlState& state = ModHtml();
    const std::shared_ptr<CodeModule> module = OpenModule(project, state.CurrentModuleName);
    const std::int32_t lineCount = module->CountOfLines();
    if (lineCount == 0) {
        firstLine = 1;
        lastLine = 1;
    }
    if (lastLine < firstLine)
        throw RuntimeError(err::SubscriptOutOfRange);
    BlockPlan blocks(procName, state, firstLine, lastLine);

    OutputBuffer out;
    // With a valid plan the list builders have nothing left that could fail, so building the
    // list first shows no message that a failing conversion would not have shown.
    if (linkFlag && blocks.Valid())
        AppendLinkList(procName, state, out);

    const std::size_t codeStart = out.Size();
    LineScanner scanner(state.Keywords.get());
    std::string escaped;
    std::string next; // the line read ahead after a whole-line comment
    bool haveNext = false;
    bool inCommentRun = false;
    for (std::int64_t number = firstLine; number <= lastLine; ++number) {
        const auto line = static_cast<std::int32_t>(number);
        try {
            const std::string text = haveNext ? std::move(next) : module->Lines(line, 1);
            haveNext = false;
            if (line > firstLine)
                out.Append("\r\n");
            blocks.AppendOpeners(line, out);

            const std::string_view html = EscapeCodeText(text, escaped);
            if (scanner.Scan(html, out) == LineScanner::Result::WholeLineComment) {
                // One span over a run of whole-line comments; it never crosses a block or the
                // range's end, so the HTML stays well nested.
                bool runGoesOn = false;
                if (!blocks.EndsCommentRun(line)) {
                    next = module->Lines(line + 1, 1);
                    haveNext = true;
                    runGoesOn = IsWholeLineComment(next);
                }
                if (!inCommentRun)
                    out.Append(deco::Open1);
                out.Append(html);
                if (!runGoesOn)
                    out.Append(deco::Close);
                inCommentRun = runGoesOn;
            }
            blocks.AppendClosers(line, out);
            if (number - firstLine + 1 == SampleLines)
                ReserveForTheRest(out, codeStart, number, std::min(lastLine, lineCount));
        } catch (const UnterminatedString& e) {
            throw ConversionError(e, line, "unterminated string literal");
        } catch (...) {
            const RuntimeError error = CurrentError();
            throw ConversionError(error, line, error.Description());
        }
    }
    if (!blocks.Valid())
        throw RuntimeError(err::SubscriptOutOfRange);
    return out.Take();
}

} // namespace

std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag)
{
    try {
        return Convert(project, procName, firstLine, lastLine, linkFlag);
    } catch (const RuntimeError&) {
        throw;
    } catch (...) {
        throw CurrentError(); // out of memory and the like, as the numbered error it stands for
    }
}

} // namespace quillmark
