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

std::optional<std::int32_t> LineNumber(std::string_view digits)
{
    std::int32_t line = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), line);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || line < 1)
        return std::nullopt;
    return line;
}

} // namespace

std::optional<std::vector<LineSpan>> ParseLineList(std::string_view text)
{
    std::vector<LineSpan> spans;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        const std::size_t dash = item.find('-');
        const auto first = LineNumber(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : LineNumber(item.substr(dash + 1));
        if (!first || !last || *last < *first)
            return std::nullopt;
        spans.push_back({*first, *last});
        from = comma + 1;
    }
    std::sort(spans.begin(), spans.end(), [](const LineSpan& a, const LineSpan& b) { return a.first < b.first; });
    std::vector<LineSpan> merged;
    for (const LineSpan& span : spans) {
        if (!merged.empty() && span.first - 1 <= merged.back().last)
            merged.back().last = std::max(merged.back().last, span.last);
        else
            merged.push_back(span);
    }
    return merged;
}

LineMarks::LineMarks(bool numbered, const ProcedureIndex& index, const LineMarking* marking)
    : numbered_(numbered), marking_(marking && !marking->marked.empty() ? marking : nullptr)
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
    if (marking_ && marking_->IsMarked(line))
        out += "<span class=\"Marked\"></span>";
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
