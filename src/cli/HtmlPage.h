#pragma once

#include "conversion/Themes.h"

#include <string>

namespace quillmark::cli {

// A standalone UTF-8 page around an unchanged fragment, styled for reading in a browser.
std::string HtmlPage(const std::string& title, const std::string& fragment);

// A standalone page around a fragment with inline styles, itself styled inline in the same
// theme and without a style sheet: a whole document that survives wherever the fragment does.
std::string InlineStyledPage(const std::string& title, const std::string& fragment, ThemeName theme);

} // namespace quillmark::cli
