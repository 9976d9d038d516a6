#pragma once

#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark::cli {

// The empty mark in front of each line of code on a page: the line's anchor "L<n>", n its
// number in the module, which a targeted line is highlighted by; with numbers shown, a link to
// itself that the style sheet numbers, so that copied code carries no numbers.
class LineMarks {
public:
    // index: the module's procedures, whose blocks' ids a line's anchor must not take.
    LineMarks(bool numbered, const ProcedureIndex& index);

    void Append(std::int32_t line, std::string& out) const;

private:
    bool numbered_;
    // Lines whose anchor is a procedure's id already ("Sub L12"): the procedure's links keep
    // leading to it, and such a line has no anchor.
    std::vector<std::int32_t> taken_;
};

} // namespace quillmark::cli
