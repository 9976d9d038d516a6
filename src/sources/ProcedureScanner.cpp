#include "sources/ProcedureTable.h"

#include "codemodel/BracketedNames.h"
#include "codemodel/ByteBlocks.h"
#include "codemodel/CodeSyntax.h"

#include <array>
#include <optional>
#include <string_view>

namespace quillmark {

namespace {

using syntax::IsBlank;

bool IsNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || u >= 0x80;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// When s starts with the keyword as a whole word (followed by a blank when blankAfter), the rest
// after the blanks that follow it.
std::optional<std::string_view> TakeWord(std::string_view s, std::string_view word, bool blankAfter = true)
{
    if (s.size() < word.size())
        return std::nullopt;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (LowerAscii(s[i]) != LowerAscii(word[i]))
            return std::nullopt;
    s.remove_prefix(word.size());
    if (blankAfter ? s.empty() || !IsBlank(s.front()) : !s.empty() && IsNameChar(s.front()))
        return std::nullopt;
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

// The physical line without a trailing continuation mark, and whether it had one.
bool StripContinuation(std::string_view& line)
{
    const std::size_t mark = syntax::ContinuationMark(line);
    if (mark == syntax::npos)
        return false;
    line = line.substr(0, mark);
    return true;
}

// The physical lines that go on from physical, the text of line, joined with a space for each
// continuation mark; line is left at the last of them.
std::string_view JoinedLine(const ModuleText& text, std::string_view physical, std::int32_t& line, std::string& joined)
{
    StripContinuation(physical);
    joined.assign(physical);
    while (line < text.Count()) {
        ++line;
        std::string_view next = text.Line(line);
        const bool more = StripContinuation(next);
        joined += ' ';
        joined += next;
        if (!more)
            break;
    }
    return joined;
}

// The logical line that starts with physical, the text of line.
std::string_view LogicalLine(const ModuleText& text, std::string_view physical, std::int32_t& line, std::string& joined)
{
    return syntax::GoesOn(physical) ? JoinedLine(text, physical, line, joined) : physical;
}

// Characters that end a stretch of plain code: a string opens, a comment starts, a colon may
// separate statements, or a bracketed name may hide any of them.
constexpr auto StatementMarks = [] {
    std::array<bool, 256> marks{};
    for (const char c : {'"', '\'', ':', '['})
        marks[static_cast<unsigned char>(c)] = true;
    return marks;
}();

// The position of the first statement mark at or after i, or n.
std::size_t NextStatementMark(std::string_view line, std::size_t i)
{
    const std::size_t n = line.size();
    while (i + byteblocks::Size <= n) {
        const std::uint64_t block = byteblocks::Load(line.data() + i);
        if (byteblocks::HasByte(block, '"') || byteblocks::HasByte(block, '\'') || byteblocks::HasByte(block, ':') ||
            byteblocks::HasByte(block, '['))
            break;
        i += byteblocks::Size;
    }
    while (i < n && !StatementMarks[static_cast<unsigned char>(line[i])])
        ++i;
    return i;
}

// The statements of a logical line: split at colons, without string contents mattering and
// without the comment that may end the line.
void SplitStatements(std::string_view line, std::vector<std::string_view>& out)
{
    out.clear();
    BracketedNames brackets(line);
    const std::size_t n = line.size();
    std::size_t start = 0;
    auto finish = [&](std::size_t end) {
        const std::string_view s = Trim(line.substr(start, end - start));
        if (!s.empty())
            out.push_back(s);
    };
    std::size_t i = syntax::FirstStatement(line, 0);
    for (;;) {
        // A statement starts: Rem makes the rest of the line a comment.
        if (syntax::IsRem(line, i)) {
            finish(i);
            return;
        }
        for (;;) {
            i = NextStatementMark(line, i);
            if (i == n) {
                finish(n);
                return;
            }
            const char c = line[i];
            if (c == '"') {
                // A doubled quote simply reopens the string.
                const std::size_t close = line.find('"', i + 1);
                i = close == std::string_view::npos ? n : close + 1;
            } else if (c == '[') {
                i = brackets.End(i) + 1;
            } else if (c == '\'') {
                finish(i);
                return;
            } else if (i + 1 < n && line[i + 1] == '=') {
                i += 2; // a named argument
            } else {
                finish(i);
                start = ++i;
                break;
            }
        }
        i = syntax::SkipBlanks(line, i);
    }
}

struct ProcStatement {
    std::string name;
    std::int32_t kind = 0;
    bool isPrivate = false;
};

std::optional<ProcStatement> ParseProcStatement(std::string_view s)
{
    // Every word a procedure statement may start with begins with one of these letters.
    if (s.empty() || std::string_view("fgps").find(LowerAscii(s.front())) == std::string_view::npos)
        return std::nullopt;
    ProcStatement proc;
    for (std::string_view modifier : {"Public", "Private", "Friend", "Global"}) {
        if (auto rest = TakeWord(s, modifier)) {
            s = *rest;
            proc.isPrivate = modifier == "Private";
            break;
        }
    }
    if (auto rest = TakeWord(s, "Static"))
        s = *rest;
    std::optional<std::string_view> rest;
    if ((rest = TakeWord(s, "Sub")) || (rest = TakeWord(s, "Function"))) {
        proc.kind = 0;
    } else if (auto afterProperty = TakeWord(s, "Property")) {
        if ((rest = TakeWord(*afterProperty, "Get")))
            proc.kind = 3;
        else if ((rest = TakeWord(*afterProperty, "Let")))
            proc.kind = 1;
        else if ((rest = TakeWord(*afterProperty, "Set")))
            proc.kind = 2;
        else
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const std::string_view n = *rest;
    if (!n.empty() && n.front() == '[') {
        const auto close = n.find(']');
        if (close == std::string_view::npos || close == 1)
            return std::nullopt;
        proc.name = std::string(n.substr(1, close - 1));
        return proc;
    }
    // A type-declaration character ends the name without being part of it.
    std::size_t len = 0;
    while (len < n.size() && IsNameChar(n[len]))
        ++len;
    if (len == 0)
        return std::nullopt;
    proc.name = std::string(n.substr(0, len));
    return proc;
}

bool IsEndStatement(std::string_view s)
{
    // A line number, or End itself.
    if (s.empty() || (LowerAscii(s.front()) != 'e' && (s.front() < '0' || s.front() > '9')))
        return false;
    std::size_t digits = 0;
    while (digits < s.size() && s[digits] >= '0' && s[digits] <= '9')
        ++digits;
    if (digits > 0 && digits < s.size() && IsBlank(s[digits]))
        s = Trim(s.substr(digits));
    const auto rest = TakeWord(s, "End");
    if (!rest)
        return false;
    for (std::string_view what : {"Sub", "Function", "Property"})
        if (auto tail = TakeWord(*rest, what, false); tail && tail->empty())
            return true;
    return false;
}

bool IsConstDirective(std::string_view s)
{
    if (s.empty() || s.front() != '#')
        return false;
    return TakeWord(Trim(s.substr(1)), "Const", false).has_value();
}

// What a line that neither continues another nor is continued is, as far as the scan can tell
// without splitting it.
enum class QuickLine {
    Empty,  // blank, or a comment: no statement
    Kept,   // one statement, which neither begins nor ends a procedure and is no #Const
    Unknown // to be split into statements
};

// The first characters (lower-cased) of the single statements that may be more than kept: a
// procedure statement, an end statement with or without a line number, Rem, #Const, a line
// that begins with a separator.
constexpr auto MayMatter = [] {
    std::array<bool, 256> matter{};
    for (const char c : std::string_view("fgpser#:0123456789"))
        matter[static_cast<unsigned char>(c)] = true;
    return matter;
}();

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

QuickLine ClassifyQuickly(std::string_view line, bool inProcedure)
{
    const std::size_t first = byteblocks::Skip<' ', '\t'>(line);
    if (first == line.size())
        return QuickLine::Empty;
    if (syntax::GoesOn(line))
        return QuickLine::Unknown;
    const char c = LowerAscii(line[first]);
    if (c == '\'')
        return QuickLine::Empty;
    // Inside a procedure a later statement may end it.
    const bool statements = inProcedure && line.find(':', first) != std::string_view::npos;
    if (!MayMatter[static_cast<unsigned char>(c)])
        return statements ? QuickLine::Unknown : QuickLine::Kept;
    if (statements || c == '#' || c == ':')
        return QuickLine::Unknown;
    // One statement, told by its first word.
    std::size_t end = first;
    while (end < line.size() && IsAsciiLetter(line[end]))
        ++end;
    const std::string_view word = line.substr(first, end - first);
    const auto is = [word](std::string_view lower) {
        for (std::size_t i = 0; i < lower.size(); ++i)
            if ((word[i] | 0x20) != lower[i]) // letters only: lower-cased
                return false;
        return true;
    };
    switch (word.size()) {
    case 3:
        if (is("rem"))
            return syntax::IsRem(line, first) ? QuickLine::Empty : QuickLine::Kept;
        if (is("sub") || (inProcedure && is("end")))
            return QuickLine::Unknown;
        break;
    case 6:
        if (is("public") || is("friend") || is("global") || is("static"))
            return QuickLine::Unknown;
        break;
    case 7:
        if (is("private"))
            return QuickLine::Unknown;
        break;
    case 8:
        if (is("function") || is("property"))
            return QuickLine::Unknown;
        break;
    }
    return inProcedure && c >= '0' && c <= '9' ? QuickLine::Unknown : QuickLine::Kept;
}

// What the scan carries from one line to the next.
struct ScanState {
    std::vector<ProcRecord> blocks;
    bool open = false;             // the last block has not met its end statement
    std::int32_t lastKeptLine = 0; // last line of the last logical line that is not blank, comment or #Const
    std::int32_t previousEnd = 0;  // end line of the last closed block
};

// Starts a block where the first statement declares a procedure; the index of the statement
// after it, or 0.
std::size_t StartBlock(std::string_view first, ScanState& scan)
{
    const auto proc = ParseProcStatement(first);
    if (!proc)
        return 0;
    // Alternative headers of one procedure (under #If ... #Else) continue it.
    if (scan.open && proc->kind == scan.blocks.back().Kind && SameName(proc->name, DeclaredName(scan.blocks.back())))
        return 1;
    std::int32_t firstOwned = scan.lastKeptLine + 1;
    if (!scan.blocks.empty()) {
        if (scan.open)
            scan.blocks.back().LastLine = scan.lastKeptLine;
        else
            firstOwned = scan.previousEnd + 1;
    }
    scan.blocks.push_back({IndexName(proc->name, proc->kind), firstOwned, 0, proc->kind});
    scan.open = true;
    return 1;
}

// Apart from the containers it fills: under WebAssembly every call made where something must be
// destroyed on failure goes the slow way round, through JavaScript.
[[gnu::noinline]] void ScanLines(const ModuleText& text, ScanState& scan, std::vector<std::string_view>& statements,
                                 std::string& joined)
{
    const std::int32_t count = text.Count();
    std::int32_t line = 1;
    while (line <= count) {
        const std::string_view physical = text.Line(line);
        if (const QuickLine quick = ClassifyQuickly(physical, scan.open); quick != QuickLine::Unknown) {
            if (quick == QuickLine::Kept)
                scan.lastKeptLine = line;
            ++line;
            continue;
        }
        const std::string_view logical = LogicalLine(text, physical, line, joined);
        const std::int32_t last = line;
        ++line;

        SplitStatements(logical, statements);
        const std::size_t next = statements.empty() ? 0 : StartBlock(statements.front(), scan);
        if (scan.open) {
            for (std::size_t i = next; i < statements.size(); ++i) {
                if (IsEndStatement(statements[i])) {
                    scan.blocks.back().LastLine = last;
                    scan.previousEnd = last;
                    scan.open = false;
                    break;
                }
            }
        }
        if (!statements.empty() && !IsConstDirective(statements.front()))
            scan.lastKeptLine = last;
    }
}

} // namespace

std::vector<ProcRecord> ScanProcedures(const ModuleText& text)
{
    ScanState scan;
    std::vector<std::string_view> statements;
    std::string joined;
    ScanLines(text, scan, statements, joined);
    if (!scan.blocks.empty())
        scan.blocks.back().LastLine = text.Count();
    return std::move(scan.blocks);
}

ProcedureStatement FindProcedureStatement(const ModuleText& text, const ProcRecord& record)
{
    std::string joined;
    std::vector<std::string_view> statements;
    for (std::int32_t line = record.FirstLine; line <= record.LastLine; ++line) {
        const std::int32_t first = line;
        SplitStatements(LogicalLine(text, text.Line(line), line, joined), statements);
        if (statements.empty())
            continue;
        const auto proc = ParseProcStatement(statements.front());
        if (proc && proc->kind == record.Kind && SameName(proc->name, DeclaredName(record)))
            return {first, proc->isPrivate};
    }
    return {};
}

} // namespace quillmark
