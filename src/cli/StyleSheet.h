#pragma once

#include <string>

namespace quillmark::cli {

// How the pages look: light, dark, or like the editor's code window.
enum class Theme { Light, Dark, Editor };

// The style sheet of Quillmark's pages in a theme: code with its decoration classes, line
// numbers, and the site's navigation and index.
std::string StyleSheet(Theme theme);

} // namespace quillmark::cli
