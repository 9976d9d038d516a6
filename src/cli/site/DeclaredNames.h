#pragma once

#include "cli/site/NameMap.h"

#include <string>
#include <string_view>

namespace quillmark::cli {

// Follows a module's code block by block, token by token, to tell the names its statements
// declare (a procedure's own name, its parameters, its Dim, Static, Const, Private and Public
// names) from the names they use, and which used names mean a local of the block, or a variable
// of the module's declarations, rather than a procedure or module elsewhere.
class DeclaredNames {
public:
    // A new block: the declarations or a procedure.
    void StartBlock();
    // A new physical line; continued when the one before ended in " _".
    void StartLine(bool continued);
    void Keyword(std::string_view keyword);
    void Punctuation(char c);
    // Takes a name in the code: true when this is where it is declared.
    bool Declares(std::string_view name);
    bool IsLocal(std::string_view name) const;
    // Whether the next name stands where only a type may ("As T", "New T", "Implements T",
    // "TypeOf x Is T"),
    // which no variable shadows. Ask before Declares.
    bool ExpectsType() const { return typeName_; }

private:
    enum class Context { None, Parameters, Variables };

    Context context_ = Context::None;
    int depth_ = 0;              // of parentheses
    bool procedureName_ = false; // the next name is the procedure's
    bool variableName_ = false;  // the next name is a parameter's or a variable's
    bool afterProperty_ = false; // the last keyword was Property
    bool typeName_ = false;      // the next name is a type's
    bool afterTypeOf_ = false;   // in "TypeOf x" before its "Is"
    bool external_ = false;      // a Declare or an Event, whose parameters name nothing in the block
    bool procedure_ = false;     // the block declares a procedure: it is not the declarations
    NameSet locals_;
    NameSet moduleNames_; // of the declarations, seen from every block after them
};

} // namespace quillmark::cli
