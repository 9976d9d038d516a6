#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

// The candidate nearest to a mistyped word, when one is near enough to be what was meant
// (a few letters off, or the word is its beginning); empty otherwise.
std::string NearestWord(std::string_view typed, const std::vector<std::string>& candidates);

} // namespace quillmark::cli
