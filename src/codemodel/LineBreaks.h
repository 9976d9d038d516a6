#pragma once

#include <cstddef>
#include <string_view>

namespace quillmark {

// Finds the line breaks of a text from front to back: CR LF, LF or a lone CR. Each kind of
// break is searched for with memchr and remembered until it is passed, so that a text without
// one kind costs no more than one search for it.
class LineBreaks {
public:
    struct Break {
        std::size_t at;     // the text's size when no break is left
        std::size_t length; // 1 or 2; 0 at the end of the text
    };

    explicit LineBreaks(std::string_view text) : text_(text) {}

    Break Next(std::size_t from)
    {
        if (nextCr_ < from || nextCr_ == Unknown)
            nextCr_ = Find('\r', from);
        if (nextLf_ < from || nextLf_ == Unknown)
            nextLf_ = Find('\n', from);
        const std::size_t at = nextCr_ < nextLf_ ? nextCr_ : nextLf_;
        if (at == text_.size())
            return {at, 0};
        return {at, at == nextCr_ && nextLf_ == at + 1 ? std::size_t{2} : std::size_t{1}};
    }

private:
    static constexpr std::size_t Unknown = static_cast<std::size_t>(-1);

    std::size_t Find(char c, std::size_t from) const
    {
        const std::size_t at = text_.find(c, from);
        return at == std::string_view::npos ? text_.size() : at;
    }

    std::string_view text_;
    std::size_t nextCr_ = Unknown;
    std::size_t nextLf_ = Unknown;
};

} // namespace quillmark
