#pragma once

#include "conversion/Themes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillmark::cli {

// A standalone UTF-8 page around an unchanged fragment, styled in the theme for reading in a
// browser and headed by its title. firstLine: the number of the fragment's first line when its
// lines carry their numbers' marks (LineMarks); markedLines: some of its lines are marked.
std::string HtmlPage(const std::string& title, ThemeName theme, const std::string& fragment,
                     std::optional<std::int32_t> firstLine = std::nullopt, bool markedLines = false);

// A standalone page around a fragment with inline styles, itself styled inline in the same
// theme and without a style sheet: a whole document that survives wherever the fragment does.
std::string InlineStyledPage(const std::string& title, const std::string& fragment, ThemeName theme);

} // namespace quillmark::cli
