#pragma once

#include "cli/site/DeclaredNames.h"
#include "cli/site/ProjectProcedures.h"
#include "cli/site/SiteProject.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// Puts links into a module's converted code, a line at a time: each name that means one of the
// project's procedures links to its block, on this page or on its module's page. Names in
// comments, strings, keywords and labels, names being declared, names of the block's
// parameters and variables, and named arguments stay as they are. With line numbers, each line
// begins with an empty marker that the style sheet numbers, so that copied code carries no
// numbers.
class CodeLinker {
public:
    // Without procedures (code that is not decorated, whose strings and comments are unknown),
    // nothing is linked.
    CodeLinker(const ProjectProcedures* procedures, const SiteProject& project, std::size_t module, bool lineNumbers);

    // What takes the output so far when a long line has made it large (and empties it).
    using Spill = std::function<void(std::string& out)>;

    // line: one line of the fragment, without its line break. With spill, out never holds
    // much more than a piece of a long line.
    void AppendLine(std::string_view line, std::string& out, const Spill& spill = {});

private:
    void AppendSpan(std::string_view line, std::size_t& pos, std::string& out);
    void AppendNames(std::string_view text, std::string& out);
    std::string LinkFor(std::string_view qualifier, std::string_view name) const;

    const ProjectProcedures* procedures_;
    const SiteProject& project_;
    std::size_t module_;
    bool lineNumbers_;
    std::vector<char> openSpans_; // the digit of each open decoration class
    DeclaredNames declared_;
    bool continued_ = false; // the last line ended in a line continuation
};

} // namespace quillmark::cli
