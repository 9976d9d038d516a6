#include "codemodel/CodeSyntax.h"

#include "base/AsciiText.h"

#include <array>

namespace quillmark::syntax {

namespace {

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsNameCharacter(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// The text between a date literal's two "#", read by the literal's grammar:
//   date-or-time   = date-value 1*blank time-value / date-value / time-value
//   date-value     = part date-separator part [date-separator part]
//   part           = digits / month-name
//   date-separator = 1*blank / *blank ("/" / "-" / ",") *blank
//   time-value     = digits ampm / digits time-sep digits [time-sep digits] [ampm]
//   time-sep       = *blank (":" / ".") *blank;   ampm = *blank ("am" / "pm" / "a" / "p")
// Each step reads from a position on and gives the one after what it read, or npos.
class DateText {
public:
    explicit DateText(std::string_view text) : text_(text) {}

    bool IsDateOrTime() const
    {
        const std::size_t start = SkipBlanks(text_, 0);
        if (TimeToEnd(start))
            return true;
        std::size_t date = Part(start);
        for (int part = 2; part <= 3 && date != npos; ++part) {
            const std::size_t separator = DateSeparator(date);
            date = separator == npos ? npos : Part(separator);
            if (date == npos)
                return false;
            const std::size_t time = SkipBlanks(text_, date);
            if (time == text_.size() || (time > date && TimeToEnd(time)))
                return true;
        }
        return false;
    }

private:
    std::size_t Digits(std::size_t at) const
    {
        std::size_t end = at;
        while (end < text_.size() && IsDigit(text_[end]))
            ++end;
        return end > at ? end : npos;
    }

    std::size_t Word(std::size_t at) const
    {
        while (at < text_.size() && IsLetter(text_[at]))
            ++at;
        return at;
    }

    std::size_t Part(std::size_t at) const
    {
        if (const std::size_t digits = Digits(at); digits != npos)
            return digits;
        static constexpr std::array<std::string_view, 23> kMonths = {
            "january",   "february", "march",    "april",    "may", "june", "july", "august",
            "september", "october",  "november", "december", "jan", "feb",  "mar",  "apr",
            "jun",       "jul",      "aug",      "sep",      "oct", "nov",  "dec"};
        const std::size_t end = Word(at);
        const std::string_view word = text_.substr(at, end - at);
        for (const std::string_view month : kMonths)
            if (SameName(word, month))
                return end;
        return npos;
    }

    // One of marks, with the blanks around it.
    std::size_t Mark(std::size_t at, std::string_view marks) const
    {
        const std::size_t mark = SkipBlanks(text_, at);
        if (mark == text_.size() || marks.find(text_[mark]) == npos)
            return npos;
        return SkipBlanks(text_, mark + 1);
    }

    std::size_t DateSeparator(std::size_t at) const
    {
        if (const std::size_t after = Mark(at, "/-,"); after != npos)
            return after;
        const std::size_t after = SkipBlanks(text_, at);
        return after > at ? after : npos;
    }

    bool AmPmToEnd(std::size_t at) const
    {
        const std::size_t start = SkipBlanks(text_, at);
        const std::size_t end = Word(start);
        if (end != text_.size())
            return false;
        const std::string_view word = text_.substr(start, end - start);
        return SameName(word, "am") || SameName(word, "pm") || SameName(word, "a") || SameName(word, "p");
    }

    bool TimeToEnd(std::size_t at) const
    {
        std::size_t end = Digits(at);
        if (end == npos)
            return false;
        if (AmPmToEnd(end))
            return true;
        for (int part = 2; part <= 3; ++part) {
            const std::size_t separator = Mark(end, ":.");
            end = separator == npos ? npos : Digits(separator);
            if (end == npos)
                return false;
            if (end == text_.size() || AmPmToEnd(end))
                return true;
        }
        return false;
    }

    std::string_view text_;
};

// What a date literal may hold: anything else ends the search for its closing "#".
constexpr auto DateCharacters = [] {
    std::array<bool, 256> allowed{};
    for (int c = 0; c < 256; ++c)
        allowed[c] = IsLetter(static_cast<char>(c)) || IsDigit(static_cast<char>(c));
    for (const char c : std::string_view(" \t/-,:."))
        allowed[static_cast<unsigned char>(c)] = true;
    return allowed;
}();

} // namespace

std::size_t DateLiteralEnd(std::string_view line, std::size_t hash)
{
    if (hash > 0 && IsNameCharacter(line[hash - 1]))
        return npos;
    std::size_t close = hash + 1;
    while (close < line.size() && DateCharacters[static_cast<unsigned char>(line[close])])
        ++close;
    if (close == line.size() || line[close] != '#')
        return npos;
    return DateText(line.substr(hash + 1, close - hash - 1)).IsDateOrTime() ? close : npos;
}

} // namespace quillmark::syntax
