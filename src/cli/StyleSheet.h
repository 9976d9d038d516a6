#pragma once

#include "conversion/Themes.h"

#include <string>
#include <string_view>

namespace quillmark::cli {

// The style sheet of Quillmark's pages in a theme (convert --page, a site): the page itself,
// the site's navigation and index, and the code with its decoration classes and line numbers.
std::string StyleSheet(ThemeName theme);

// The style sheet of the fragment alone, for a page of its own: every rule applies inside the
// code blocks (their classes, links and line numbers), so nothing else of the page changes.
std::string FragmentStyleSheet(ThemeName theme);

// The rule that draws marked lines (LineMarks), which the fragment's sheet holds and a page's
// takes when it marks lines.
std::string_view MarkedLinesRule();

} // namespace quillmark::cli
