#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <vector>

namespace quillmark::cli {

// The site's index: every project, its modules with their type, lines and procedures, each a
// link, and a search box whose small script filters them as one types, also when the page is
// opened from the file system.
std::string IndexPage(const std::vector<SiteProject>& projects);

} // namespace quillmark::cli
