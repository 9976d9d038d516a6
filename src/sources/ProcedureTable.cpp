#include "sources/ProcedureTable.h"

#include <algorithm>

namespace quillmark {

ProcedureTable::ProcedureTable(std::vector<ProcRecord> blocks) : blocks_(std::move(blocks))
{
    for (int i = 0; i < static_cast<int>(blocks_.size()); ++i)
        firstBlock_.try_emplace(Key(DeclaredName(blocks_[i]), blocks_[i].Kind), i);
}

std::string ProcedureTable::Key(std::string_view name, std::int32_t kind)
{
    std::string key = LowerAscii(name);
    key += '\n';
    key += std::to_string(kind);
    return key;
}

ProcedureTable ProcedureTable::Scan(const ModuleText& text)
{
    return ProcedureTable(ScanProcedures(text));
}

int ProcedureTable::BlockOfLine(std::int32_t line) const
{
    auto it = std::upper_bound(blocks_.begin(), blocks_.end(), line,
                               [](std::int32_t l, const ProcRecord& b) { return l < b.FirstLine; });
    if (it == blocks_.begin())
        return -1;
    --it;
    return line <= it->LastLine ? static_cast<int>(it - blocks_.begin()) : -1;
}

int ProcedureTable::FindBlock(const std::string& name, std::int32_t kind, int preferred) const
{
    auto matches = [&](int i) { return blocks_[i].Kind == kind && SameName(DeclaredName(blocks_[i]), name); };
    if (preferred >= 0 && preferred < static_cast<int>(blocks_.size()) && matches(preferred))
        return preferred;
    const auto it = firstBlock_.find(Key(name, kind));
    return it == firstBlock_.end() ? -1 : it->second;
}

} // namespace quillmark
