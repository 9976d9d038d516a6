#include "conversion/BlockPlan.h"

#include <algorithm>

namespace quillmark {

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
    const std::size_t block = ids_.size();
    ids_.push_back(std::move(id));
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
    // Each block opens in front of what already opens on its line, so a later block opens
    // first; blocks close behind each other, in block order.
    std::stable_sort(opens_.begin(), opens_.end(), [](const Mark& a, const Mark& b) {
        return a.line != b.line ? a.line < b.line : a.block > b.block;
    });
    std::stable_sort(closes_.begin(), closes_.end(), [](const Mark& a, const Mark& b) { return a.line < b.line; });
}

void BlockPlan::StartBlocks(std::int32_t line, TokenSink& sink)
{
    for (; nextOpen_ < opens_.size() && opens_[nextOpen_].line == line; ++nextOpen_)
        sink.BlockStart(ids_[opens_[nextOpen_].block]);
}

void BlockPlan::EndBlocks(std::int32_t line, TokenSink& sink)
{
    for (; nextClose_ < closes_.size() && closes_[nextClose_].line == line; ++nextClose_)
        sink.BlockEnd();
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
