#pragma once

#include "base/AsciiText.h"

#include <cstddef>
#include <string_view>

namespace quillmark::syntax {

// The few rules of VBA's syntax on which every reader of code must agree, the converter's scan,
// the procedure scan and a site's links alike: where a line goes on, where a Rem comment starts
// and what a date literal spans. Each takes a line without its line break.

constexpr std::size_t npos = std::string_view::npos;

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first position from `at` on that holds no blank, or the line's size.
inline std::size_t SkipBlanks(std::string_view line, std::size_t at)
{
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

// The "_" that makes a line go on into the next: the line's last character but blanks, after a
// blank or alone on the line (a name may end in "_"). npos when the line does not go on.
inline std::size_t ContinuationMark(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1]))
        --end;
    if (end == 0 || line[end - 1] != '_')
        return npos;
    const std::size_t mark = end - 1;
    return mark == 0 || IsBlank(line[mark - 1]) ? mark : npos;
}

inline bool GoesOn(std::string_view line)
{
    return ContinuationMark(line) != npos;
}

// Whether "Rem", in any case, stands at `at` followed by a blank or the line's end. A statement
// that begins so is a comment to the end of the line (and on, when the line goes on).
inline bool IsRem(std::string_view line, std::size_t at)
{
    return at <= line.size() && line.size() - at >= 3 && LowerAscii(line[at]) == 'r' &&
           LowerAscii(line[at + 1]) == 'e' && LowerAscii(line[at + 2]) == 'm' &&
           (line.size() - at == 3 || IsBlank(line[at + 3]));
}

// Where the first statement of a line begins: after the blanks from `at` on, and after a line
// number with the blanks that follow it.
inline std::size_t FirstStatement(std::string_view line, std::size_t at)
{
    at = SkipBlanks(line, at);
    std::size_t digits = at;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
        ++digits;
    if (digits > at && digits < line.size() && IsBlank(line[digits]))
        return SkipBlanks(line, digits);
    return at;
}

// For the "#" at `hash`: the position of the "#" that closes the date or time literal it opens
// (#1/2/2000#, #12:30:00 PM#, #Jan 5, 2001 8:00#), or npos. A "#" after a letter, a digit or
// "_" marks a type (x#, 1#) and opens none, and so does one of a file number (#1, ...) unless
// what follows it reads as a date up to the next "#".
std::size_t DateLiteralEnd(std::string_view line, std::size_t hash);

} // namespace quillmark::syntax
