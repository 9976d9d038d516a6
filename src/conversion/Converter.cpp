#include "conversion/Converter.h"

#include "codemodel/ModHtml.h"
#include "codemodel/RuntimeError.h"
#include "conversion/BlockPlan.h"
#include "conversion/Keywords.h"
#include "conversion/LineScanner.h"
#include "conversion/LinkLists.h"

#include <string_view>
#include <vector>

namespace quillmark {

namespace {

template <typename T>
T& Required(const std::shared_ptr<T>& object)
{
    if (!object)
        throw RuntimeError(err::ObjectNotSet);
    return *object;
}

CodeModule& OpenModule(const std::shared_ptr<VBProject>& project, const std::string& moduleName,
                       std::shared_ptr<CodeModule>& holder)
{
    holder = Required(Required(Required(project).VBComponents()).Item(moduleName)).CodeModule();
    return Required(holder);
}

// "<" and ">" only: "&" and quotes pass through as they are.
std::string_view EscapeAngles(const std::string& text, std::string& buffer)
{
    bool any = false;
    for (const char c : text)
        any |= c == '<' || c == '>';
    if (!any)
        return text;
    buffer.clear();
    for (const char c : text) {
        if (c == '<')
            buffer += "&lt;";
        else if (c == '>')
            buffer += "&gt;";
        else
            buffer += c;
    }
    return buffer;
}

bool IsWholeLineComment(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first != std::string_view::npos && text[first] == '\'';
}

void AppendLinkList(const std::string& procName, const ModHtmlState& state, std::string& out)
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
            out += "\r\n";
        out += list[k];
    }
}

std::string Convert(const std::shared_ptr<VBProject>& project, const std::string& procName,
                    std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag)
{
    const ModHtmlState& state = ModHtml();
    std::shared_ptr<CodeModule> holder;
    CodeModule& module = OpenModule(project, state.CurrentModuleName, holder);
    if (module.CountOfLines() == 0) {
        firstLine = 1;
        lastLine = 1;
    }
    if (lastLine < firstLine)
        throw RuntimeError(err::SubscriptOutOfRange);
    BlockPlan blocks(procName, state, firstLine, lastLine);

    std::string out;
    // With a valid plan the list builders have nothing left that could fail, so building the
    // list first shows no message that a failing conversion would not have shown.
    if (linkFlag && blocks.Valid())
        AppendLinkList(procName, state, out);

    LineScanner scanner(state.Keywords.get());
    std::string escaped;
    std::string next; // the line read ahead after a whole-line comment
    bool haveNext = false;
    bool inCommentRun = false;
    for (std::int64_t number = firstLine; number <= lastLine; ++number) {
        const auto line = static_cast<std::int32_t>(number);
        try {
            const std::string text = haveNext ? std::move(next) : module.Lines(line, 1);
            haveNext = false;
            if (line > firstLine)
                out += "\r\n";
            blocks.AppendOpeners(line, out);

            const std::string_view html = EscapeAngles(text, escaped);
            if (scanner.Scan(html, out) == LineScanner::Result::WholeLineComment) {
                // One span over a run of whole-line comments; it never crosses a block or the
                // range's end, so the HTML stays well nested.
                bool runGoesOn = false;
                if (!blocks.EndsCommentRun(line)) {
                    next = module.Lines(line + 1, 1);
                    haveNext = true;
                    runGoesOn = IsWholeLineComment(next);
                }
                if (!inCommentRun)
                    out += deco::Open1;
                out += html;
                if (!runGoesOn)
                    out += deco::Close;
                inCommentRun = runGoesOn;
            }
            blocks.AppendClosers(line, out);
        } catch (...) {
            throw ConversionError(CurrentError(), line);
        }
    }
    if (!blocks.Valid())
        throw RuntimeError(err::SubscriptOutOfRange);
    return out;
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
