#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <vector>

namespace quillmark::cli {

// What a site leaves out whole, each at its path with the reason.
struct LeftOutOfSite {
    std::vector<RuntimeError> paths; // projects that could not be read
    std::vector<RuntimeError> pages; // not written: each would replace an input or could not be written
    std::string siteFolder;          // the pages' paths are shown below it
};

// The site's index: a contents list of the projects and their folders, the paths and pages left
// out whole and why, then every project, what --exclude left out of it and the module files that
// could not be read, its modules with their type, lines and procedures, each a link, and a
// search box whose small script filters them as one types, also when the page is opened from the
// file system. Headed by title, else by the projects' names.
std::string IndexPage(const std::vector<SiteProject>& projects, const std::string& title = {},
                      const LeftOutOfSite& leftOut = {});

} // namespace quillmark::cli
