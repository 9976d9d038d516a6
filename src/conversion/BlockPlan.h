#pragma once

#include "codemodel/Entry.h"
#include "conversion/ModuleView.h"
#include "conversion/TokenSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillmark {

// The blocks of one conversion: where each opens and closes, fixed before the lines are
// converted so that they are reported as the lines go.
class BlockPlan {
public:
    // For the whole module its declarations section and every record of the index; for the
    // declarations lines 1..lastLine; for a procedure firstLine..lastLine.
    BlockPlan(const Entry& entry, const ModuleView& module, std::int32_t firstLine, std::int32_t lastLine);

    // False when a block line lies outside firstLine..lastLine (or the index is missing): the
    // index no longer matches the module, and the conversion fails once its lines are done.
    bool Valid() const { return valid_; }

    // Reports the blocks that open at line, then (after the line) those that close there. Lines
    // must be passed in ascending order.
    void StartBlocks(std::int32_t line, TokenSink& sink);
    void EndBlocks(std::int32_t line, TokenSink& sink);

    // A run of whole-line comments must close on this line: the line ends the range or a
    // block, or the next line opens a block. Asked between StartBlocks and EndBlocks.
    bool EndsCommentRun(std::int32_t line) const;

private:
    struct Mark {
        std::int32_t line;
        std::size_t block;
    };

    void Add(std::string id, std::int32_t first, std::int32_t last);
    void Order();

    std::int32_t firstLine_;
    std::int32_t lastLine_;
    bool valid_ = true;
    std::vector<std::string> ids_; // of each block
    std::vector<Mark> opens_;      // by line; on a shared line the later block first
    std::vector<Mark> closes_;     // by line; on a shared line in block order
    std::size_t nextOpen_ = 0;
    std::size_t nextClose_ = 0;
};

} // namespace quillmark
