#pragma once

#include "conversion/Themes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillmark::cli {

// A standalone UTF-8 page around an unchanged fragment, styled in the theme for reading in a
// browser and headed by its title. firstLine: the number of the fragment's first line when its
// lines carry their numbers' marks (LineMarks).
std::string HtmlPage(const std::string& title, ThemeName theme, const std::string& fragment,
                     std::optional<std::int32_t> firstLine = std::nullopt);

} // namespace quillmark::cli
