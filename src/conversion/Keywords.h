#pragma once

#include "codemodel/KeywordTable.h"

#include <memory>
#include <string_view>

namespace quillmark {

// The decoration markers and their lengths; the converter steps its scan by these lengths.
namespace deco {
inline constexpr std::string_view Open1 = "<span class=\"Deco1\">"; // comments
inline constexpr std::string_view Open2 = "<span class=\"Deco2\">"; // string literals
inline constexpr std::string_view Open3 = "<span class=\"Deco3\">"; // keywords
inline constexpr std::string_view Open4 = "<span class=\"Deco4\">"; // line labels, jump targets
inline constexpr std::string_view Open5 = "<span class=\"Deco5\">"; // other names
inline constexpr std::string_view Close = "</span>";
inline constexpr int OpenLength = 20;
inline constexpr int CloseLength = 7;
} // namespace deco

// The 128 keywords, comma-separated, in table order.
extern const std::string_view KeywordList;

// A new table of the 128 keywords.
std::unique_ptr<KeywordTable> MakeKeywordTable();

} // namespace quillmark
