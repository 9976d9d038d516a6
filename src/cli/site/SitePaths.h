#pragma once

#include "cli/site/SiteProject.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli {

inline constexpr std::string_view kIndexPage = "index.html";
inline constexpr std::string_view kStyleSheetFile = "quillmark.css";

// One part of a path in the site, made from name followed by extension (a page's ".html", or
// nothing): a name fit for a file or folder anywhere. Characters that file systems or URLs treat
// specially, control characters among them, become "_", and so do a leading or trailing dot or
// space; a name that Windows reserves for a device ("CON", "lpt1.txt", "COM0", "LPT²") gets a
// "_" after it; a part longer than 255 bytes is cut and ends with a hash of the whole name, so
// that it stays unique.
std::string SafeFileName(std::string_view name, std::string_view extension = {});

// Gives each project a folder of the site, each of its files' folders a folder inside it, and
// each module its page there, every part made safe; no two paths differ only in case (Unicode's,
// not only ASCII's), and none is the index's or the style sheet's. Names that become the same
// path are numbered ("-2", "-3", ...).
void PlanPages(std::vector<SiteProject>& projects);

// The link from the page at fromPage to anchor on the page at toPage (both paths in the site),
// percent-encoded; an empty anchor links to the page itself.
std::string Href(std::string_view fromPage, std::string_view toPage, std::string_view anchor = {});

// The start of a page at page (a path in the site) up to its body: the title, and the site's
// style sheet.
std::string PageStart(std::string_view page, std::string_view title);

} // namespace quillmark::cli
