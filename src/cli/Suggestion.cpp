#include "cli/Suggestion.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <numeric>

namespace quillmark::cli {

namespace {

// Letters to insert, delete or replace to turn a into b, ignoring case.
std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replaced = diagonal + (LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replaced});
        }
    }
    return row[b.size()];
}

} // namespace

std::string NearestWord(std::string_view typed, const std::vector<std::string>& candidates)
{
    std::string nearest;
    std::size_t best = typed.size() / 2 + 1; // further off than that is another word
    for (const std::string& candidate : candidates) {
        if (!typed.empty() && SameName(std::string_view(candidate).substr(0, typed.size()), typed))
            return candidate;
        const std::size_t distance = EditDistance(typed, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

} // namespace quillmark::cli
