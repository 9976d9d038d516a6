#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// What a piece of code is. Comment to Name are the decoration classes Deco1 to Deco5, in order.
enum class TokenKind : std::uint8_t {
    Text,    // anything else: spaces, operators, numbers, parentheses, a name that starts otherwise
    Comment, // a comment behind code; a run of whole-line comments (a span over its lines)
    String,  // a string literal, both quotes included
    Keyword,
    Label, // a line label (a span from the line's start through its colon); a jump target
    Name,  // any other name, the name of a named argument among them
};

// How many kinds there are: every writer's table of looks has this many rows.
inline constexpr std::size_t TokenKindCount = static_cast<std::size_t>(TokenKind::Name) + 1;

// One step through a line: a piece of its text, or where a span that holds pieces opens or
// closes. The labels of a line all open at its start, before anything else of it, and close at
// their colons in turn; a run of whole-line comments opens before its first line and closes
// after its last.
struct Token {
    enum class Role : std::uint8_t { Piece, Open, Close };

    TokenKind kind;
    Role role = Role::Piece;
    std::string_view text; // a piece's text as the module holds it (not escaped); empty for a span's ends
};

// The links of an entry's link list, in order: the declarations, then each procedure.
struct LinkTargets {
    std::vector<std::string> ids; // the blocks' ids, not escaped
    // Records of an index without procedures: each links nowhere and leaves an empty line.
    std::size_t placeholders = 0;
};

// Takes what a conversion finds, in the order of its output: the link list when one was asked
// for, then for each line of the range the blocks that open there, the line itself, and the
// blocks that close after it. Each writer makes one output of it (the Deco fragment, a site's
// linked code); the scanner alone decides what each piece is.
class TokenSink {
public:
    virtual ~TokenSink() = default;

    virtual void LinkList(const LinkTargets&) {}
    // A block (the declarations or a procedure) opens; its id is the anchor its links go to.
    virtual void BlockStart(std::string_view id) = 0;
    virtual void BlockEnd() = 0;
    // number: the line's number in the module; text: all of it, as the module holds it. Past
    // the end of text, and so of each token's text, ModuleText::Padding bytes may be read.
    virtual void LineStart(std::int32_t number, std::string_view text) = 0;
    // The line's tokens in order; their pieces are the line's text. A line of many tokens comes
    // in several calls; a blank line (spaces only) has none.
    virtual void Tokens(std::span<const Token> tokens) = 0;
    virtual void LineEnd() = 0;
};

} // namespace quillmark
