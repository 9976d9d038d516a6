#pragma once

#include <string>

namespace quillmark::cli {

// A standalone UTF-8 page around an unchanged fragment, styled for reading in a browser.
std::string HtmlPage(const std::string& title, const std::string& fragment);

} // namespace quillmark::cli
