#pragma once

#include "platform/editor/ModuleText.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillmark {

// One procedure's block: the lines it owns, first..last (1-based, inclusive).
struct ProcBlock {
    std::string name;
    std::int32_t kind = 0; // 0 Sub/Function, 1 Property Let, 2 Property Set, 3 Property Get
    std::int32_t firstLine = 0;
    std::int32_t lastLine = 0;
    bool operator==(const ProcBlock&) const = default;
};

// Which procedure owns each line of a module, computed once; lines in no block are
// declarations.
class ProcedureTable {
public:
    ProcedureTable() = default;
    // Blocks in module order, not overlapping.
    explicit ProcedureTable(std::vector<ProcBlock> blocks);
    // The blocks of the module text, by the editor's ownership rules.
    static ProcedureTable Scan(const ModuleText& text);

    const std::vector<ProcBlock>& Blocks() const { return blocks_; }
    // Index of the block owning line, -1 for a declarations line.
    int BlockOfLine(std::int32_t line) const;
    // Index of the block of this name (case-insensitive) and kind: preferred when it matches,
    // else the first; -1 when there is none.
    int FindBlock(const std::string& name, std::int32_t kind, int preferred) const;

private:
    static std::string Key(const std::string& name, std::int32_t kind);

    std::vector<ProcBlock> blocks_;
    std::unordered_map<std::string, int> firstBlock_; // Key -> first block of that name and kind
};

// The ownership scan behind ProcedureTable::Scan.
std::vector<ProcBlock> ScanProcedures(const ModuleText& text);

// ASCII case-insensitive equality, as the editor compares names.
bool SameName(const std::string& a, const std::string& b);

} // namespace quillmark
