#include "cli/LineMarks.h"

#include <algorithm>
#include <charconv>

namespace quillmark::cli {

namespace {

// The line whose anchor id is, or 0.
std::int32_t AnchoredLine(std::string_view id)
{
    std::int32_t line = 0;
    if (id.size() < 2 || id[0] != 'L' || id[1] == '0')
        return 0;
    const auto [end, error] = std::from_chars(id.data() + 1, id.data() + id.size(), line);
    return error == std::errc{} && end == id.data() + id.size() ? line : 0;
}

} // namespace

LineMarks::LineMarks(bool numbered, const ProcedureIndex& index) : numbered_(numbered)
{
    for (const ProcRecord& record : index)
        if (const std::int32_t line = AnchoredLine(record.ProcName); line > 0)
            taken_.push_back(line);
    std::sort(taken_.begin(), taken_.end());
}

bool LineMarks::IsTaken(std::int32_t line) const
{
    return std::binary_search(taken_.begin(), taken_.end(), line);
}

void LineMarks::Append(std::int32_t line, std::string& out) const
{
    if (IsTaken(line)) {
        if (numbered_)
            out += "<span class=\"Ln\"></span>";
        return;
    }
    char digits[16];
    const std::string_view number(digits, std::to_chars(digits, digits + sizeof digits, line).ptr - digits);
    out += numbered_ ? "<a class=\"Ln\" id=\"L" : "<a id=\"L";
    out += number;
    if (numbered_) {
        out += "\" href=\"#L";
        out += number;
    }
    out += "\"></a>";
}

MarkedLines::MarkedLines(TokenSink& writer, OutputBuffer& out, const LineMarks& marks)
    : writer_(writer), out_(out), marks_(marks)
{}

void MarkedLines::LineStart(std::int32_t number, std::string_view text)
{
    writer_.LineStart(number, text);
    mark_.clear();
    marks_.Append(number, mark_);
    out_.Append(mark_);
}

} // namespace quillmark::cli
