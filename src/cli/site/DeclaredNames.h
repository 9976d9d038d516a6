#pragma once

#include "cli/site/NameMap.h"

#include <string>
#include <string_view>

namespace quillmark::cli {

// Follows a block of code token by token to tell the names its statements declare (a
// procedure's own name, its parameters, its Dim, Static and Const names) from the names they
// use, and which used names mean a local of the block rather than a procedure elsewhere.
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

private:
    enum class Context { None, Parameters, Variables };

    Context context_ = Context::None;
    int depth_ = 0;              // of parentheses
    bool procedureName_ = false; // the next name is the procedure's
    bool variableName_ = false;  // the next name is a parameter's or a variable's
    bool afterProperty_ = false; // the last keyword was Property
    NameSet locals_;
};

} // namespace quillmark::cli
