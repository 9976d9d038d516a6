#pragma once

#include "conversion/Themes.h"

#include <string>

namespace quillmark::cli {

// The style sheet of Quillmark's pages in a theme: code with its decoration classes, line
// numbers, and the site's navigation and index.
std::string StyleSheet(ThemeName theme);

} // namespace quillmark::cli
