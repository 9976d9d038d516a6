#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <vector>

namespace quillmark::cli {

// The site's index: every project, its modules with their type, lines and procedures, each a
// link, what --exclude left out, and a search box whose small script filters them as one types,
// also when the page is opened from the file system. Headed by title, else by the projects'
// names.
std::string IndexPage(const std::vector<SiteProject>& projects, const std::string& title = {});

} // namespace quillmark::cli
