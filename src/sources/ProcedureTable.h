#pragma once

#include "base/AsciiText.h"
#include "codemodel/ModuleText.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmark {

// Which procedure owns each line of a module, computed once; lines in no block are
// declarations.
class ProcedureTable {
public:
    ProcedureTable() = default;
    // Blocks in module order, not overlapping.
    explicit ProcedureTable(std::vector<ProcRecord> blocks);
    // The blocks of the module text, by the editor's ownership rules.
    static ProcedureTable Scan(const ModuleText& text);

    const std::vector<ProcRecord>& Blocks() const { return blocks_; }
    // Index of the block owning line, -1 for a declarations line.
    int BlockOfLine(std::int32_t line) const;
    // Index of the block of this name (case-insensitive) and kind: preferred when it matches,
    // else the first; -1 when there is none.
    int FindBlock(const std::string& name, std::int32_t kind, int preferred) const;

private:
    static std::string Key(std::string_view name, std::int32_t kind);

    std::vector<ProcRecord> blocks_;
    std::unordered_map<std::string, int> firstBlock_; // Key -> first block of that name and kind
};

// The ownership scan behind ProcedureTable::Scan.
std::vector<ProcRecord> ScanProcedures(const ModuleText& text);

// The first statement of record's procedure name and kind within its lines: the line it starts
// on (0 when there is none) and whether it declares the procedure Private.
struct ProcedureStatement {
    std::int32_t line = 0;
    bool isPrivate = false;
};
ProcedureStatement FindProcedureStatement(const ModuleText& text, const ProcRecord& record);

} // namespace quillmark
