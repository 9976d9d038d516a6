#include "platform/editor/ProcedureTable.h"

#include <algorithm>

namespace quillmark {

ProcedureTable::ProcedureTable(std::vector<ProcBlock> blocks) : blocks_(std::move(blocks)) {}

ProcedureTable ProcedureTable::Scan(const ModuleText& text)
{
    return ProcedureTable(ScanProcedures(text));
}

int ProcedureTable::BlockOfLine(std::int32_t line) const
{
    auto it = std::upper_bound(blocks_.begin(), blocks_.end(), line,
                               [](std::int32_t l, const ProcBlock& b) { return l < b.firstLine; });
    if (it == blocks_.begin())
        return -1;
    --it;
    return line <= it->lastLine ? static_cast<int>(it - blocks_.begin()) : -1;
}

int ProcedureTable::FindBlock(const std::string& name, std::int32_t kind, int preferred) const
{
    auto matches = [&](int i) { return blocks_[i].kind == kind && SameName(blocks_[i].name, name); };
    if (preferred >= 0 && preferred < static_cast<int>(blocks_.size()) && matches(preferred))
        return preferred;
    for (int i = 0; i < static_cast<int>(blocks_.size()); ++i)
        if (matches(i))
            return i;
    return -1;
}

bool SameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        return lower(x) == lower(y);
    });
}

} // namespace quillmark
