#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <vector>

namespace quillmark::cli {

// The site's index: a contents list of the projects and their folders, the paths left out whole
// (leftOut) and why, then every project, what --exclude left out of it and the module files that
// could not be read, its modules with their type, lines and procedures, each a link, and a
// search box whose small script filters them as one types, also when the page is opened from the
// file system. Headed by title, else by the projects' names.
std::string IndexPage(const std::vector<SiteProject>& projects, const std::string& title = {},
                      const std::vector<RuntimeError>& leftOut = {});

} // namespace quillmark::cli
