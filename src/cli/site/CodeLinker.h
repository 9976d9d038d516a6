#pragma once

#include "cli/LineMarks.h"
#include "cli/site/DeclaredNames.h"
#include "cli/site/ProjectProcedures.h"
#include "conversion/TokenSink.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quillmark::cli {

// Writes a module's code for its page, linked: each name that means one of the project's
// procedures links to its statement's line, on this page or on its module's page, and each name
// of another module of the project to that module's page. Names in comments, strings, keywords
// and labels, names being declared, names of the block's parameters and variables and of the
// module's declarations, and named arguments stay as they are. Lines end with LF, and each
// begins with its mark (its anchor, and its number when numbers are shown).
class CodeLinker final : public TokenSink {
public:
    // What takes the output so far when it has grown large (and empties it).
    using Spill = std::function<void(std::string& out)>;
    // The href that a name used in the code links to, or "" for none.
    using Links = std::function<std::string(const NameUse& use)>;
    // Writes what follows the code of the block that ends on lastLine, inside the block.
    using AfterBlock = std::function<void(std::int32_t lastLine, std::string& out)>;

    // Without links (code that is not decorated, whose strings and comments are unknown),
    // nothing is linked. With spill, out never holds much more than a piece of a long line.
    CodeLinker(Links links, const LineMarks& marks, std::string& out, Spill spill = {}, AfterBlock afterBlock = {});

    void BlockStart(std::string_view id) override;
    void BlockEnd() override;
    void LineStart(std::int32_t number, std::string_view text) override;
    void Tokens(std::span<const Token> tokens) override;
    void LineEnd() override;

private:
    void BreakLine();
    void AppendPiece(const Token& token);
    void AppendNames(std::string_view text);

    Links links_;
    const LineMarks& marks_;
    std::string& out_;
    Spill spill_;
    AfterBlock afterBlock_;
    std::int32_t lineNumber_ = 0;
    std::string_view line_;
    std::size_t openSpans_ = 0;
    DeclaredNames declared_;
    bool lineEnded_ = false;
    bool lastIsText_ = false; // the line's last token so far is a piece of plain text
    bool continued_ = false;  // the last line's code goes on in this one
};

} // namespace quillmark::cli
