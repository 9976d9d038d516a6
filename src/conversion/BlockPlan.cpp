#include "conversion/BlockPlan.h"

#include "conversion/HtmlEscape.h"

#include <algorithm>

namespace quillmark {

namespace {

constexpr std::string_view BlockClose = "</p></div>";

} // namespace

BlockPlan::BlockPlan(const Entry& entry, const ModuleView& module, std::int32_t firstLine, std::int32_t lastLine)
    : firstLine_(firstLine), lastLine_(lastLine)
{
    const std::string declarations = std::string(module.name) + ".Declarations";
    switch (entry.kind) {
    case Entry::Kind::WholeModule: {
        if (module.index.empty()) {
            valid_ = false;
            return;
        }
        const std::int32_t first = module.index.front().FirstLine;
        if (first <= 0) {
            Add(declarations, 1, module.lineCount); // a module without procedures
        } else {
            if (first > 1)
                Add(declarations, 1, first - 1);
            for (const ProcRecord& record : module.index)
                Add(record.ProcName, record.FirstLine, record.LastLine);
        }
        break;
    }
    case Entry::Kind::Declarations: Add(declarations, 1, lastLine); break;
    case Entry::Kind::Procedure: Add(entry.procName, firstLine, lastLine); break;
    }
    Order();
}

void BlockPlan::Add(std::string id, std::int32_t first, std::int32_t last)
{
    const auto inRange = [this](std::int32_t line) { return line >= firstLine_ && line <= lastLine_; };
    if (!inRange(first) || !inRange(last))
        valid_ = false;
    const std::size_t block = openers_.size();
    openers_.push_back("<div class=\"CodeArea\"><p id=\"" + EscapeName(id) + "\">");
    opens_.push_back({first, block});
    closes_.push_back({last, block});
}

void BlockPlan::Order()
{
    if (!valid_) {
        // The conversion is going to fail; the markers would only be thrown away.
        opens_.clear();
        closes_.clear();
        return;
    }
    // Each opener goes in front of what is already on its line, so a later block's opener
    // comes first; closers go behind, in block order.
    std::stable_sort(opens_.begin(), opens_.end(), [](const Mark& a, const Mark& b) {
        return a.line != b.line ? a.line < b.line : a.block > b.block;
    });
    std::stable_sort(closes_.begin(), closes_.end(), [](const Mark& a, const Mark& b) { return a.line < b.line; });
}

void BlockPlan::AppendOpeners(std::int32_t line, OutputBuffer& out)
{
    for (; nextOpen_ < opens_.size() && opens_[nextOpen_].line == line; ++nextOpen_)
        out.Append(openers_[opens_[nextOpen_].block]);
}

void BlockPlan::AppendClosers(std::int32_t line, OutputBuffer& out)
{
    for (; nextClose_ < closes_.size() && closes_[nextClose_].line == line; ++nextClose_)
        out.Append(BlockClose);
}

bool BlockPlan::EndsCommentRun(std::int32_t line) const
{
    if (line >= lastLine_)
        return true;
    const bool closesHere = nextClose_ < closes_.size() && closes_[nextClose_].line == line;
    const bool opensNext = nextOpen_ < opens_.size() && opens_[nextOpen_].line == line + 1;
    return closesHere || opensNext;
}

} // namespace quillmark
