#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

inline constexpr std::string_view kIndexPage = "index.html";
inline constexpr std::string_view kStyleSheetFile = "quillmark.css";

// A name made fit to be a file or folder name anywhere: characters that file systems or URLs
// treat specially become "_", and so do a leading or trailing dot or space.
std::string SafeFileName(std::string_view name);

// Gives each project a folder of the site and each module its page there, under its file's own
// folder. No two paths differ only in case, and none is the index's or the style sheet's.
void PlanPages(std::vector<SiteProject>& projects);

// The link from the page at fromPage to anchor on the page at toPage (both paths in the site),
// percent-encoded; an empty anchor links to the page itself.
std::string Href(std::string_view fromPage, std::string_view toPage, std::string_view anchor = {});

// The start of a page at page (a path in the site) up to its body: the title, and the site's
// style sheet.
std::string PageStart(std::string_view page, std::string_view title);

} // namespace quillmark::cli
