#pragma once

#include <cstddef>
#include <string_view>

namespace quillmark {

// A "[" met in code, outside strings and comments, opens a bracketed name (VBA's way to write
// any characters in a name: sb.[a " b], ['My Sheet'!A1]), which the next "]" on the line
// closes. Nothing inside it opens a string, starts a comment or ends a word; a "[" without a
// "]" after it is an ordinary character. Every scan of code asks here, a line at a time.
class BracketedNames {
public:
    explicit BracketedNames(std::string_view line = {}) : line_(line) {}

    // For the "[" at open: the position of the "]" that closes it, or open when none does.
    std::size_t End(std::size_t open)
    {
        if (open < unclosedFrom_) {
            const std::size_t close = line_.find(']', open + 1);
            if (close != std::string_view::npos)
                return close;
            unclosedFrom_ = open; // no "]" is left: no later "[" needs a search
        }
        return open;
    }

private:
    std::string_view line_;
    std::size_t unclosedFrom_ = std::string_view::npos;
};

} // namespace quillmark
