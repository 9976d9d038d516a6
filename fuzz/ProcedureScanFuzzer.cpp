// The procedure scan over any text: which procedure owns each line, and the index that the
// window builds from it through ProcOfLine and ProcCountLines, as the converter relies on it.
#include "FuzzChecks.h"
#include "codemodel/ModuleProcedures.h"
#include "sources/MemorySource.h"

#include <string>

using namespace quillmark;
using fuzz::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    MemoryCodeModule module("Module1", ModuleText(std::string(reinterpret_cast<const char*>(bytes), size)));
    const std::vector<ProcRecord>& blocks = module.Procedures().Blocks();
    const std::int32_t lines = module.CountOfLines();

    // Every line from the first procedure's on belongs to one block, in module order.
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const ProcRecord& block = blocks[k];
        Expect(block.FirstLine >= 1 && block.FirstLine <= block.LastLine, "a block has lines");
        Expect(k == 0 || block.FirstLine == blocks[k - 1].LastLine + 1, "each block starts after the one before");
        Expect(block.Kind >= vbext_pk::Proc && block.Kind <= vbext_pk::Get, "a block's kind is a procedure kind");
        Expect(!DeclaredName(block).empty(), "a procedure has a name");
    }
    Expect(blocks.empty() || blocks.back().LastLine == lines, "the last procedure owns the module's last lines");

    // The window's walk finds the same blocks.
    std::int32_t procCount = 0;
    std::int32_t lineCount = 0;
    const ProcedureIndex index = ReadProcedureIndex(module, procCount, lineCount);
    Expect(index == IndexOf(blocks), "the walk through ProcOfLine finds the scanned blocks");
    for (const ProcRecord& block : blocks) {
        const std::int32_t line = FindProcedureStatement(module.Text(), block).line;
        Expect(line == 0 || (line >= block.FirstLine && line <= block.LastLine), "a statement lies in its block");
    }
    return 0;
}
