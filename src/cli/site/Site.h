#pragma once

#include "cli/StyleSheet.h"

#include <ostream>
#include <string>
#include <vector>

namespace quillmark::cli {

struct SiteOptions {
    std::vector<std::string> paths;
    std::string outputFolder;
    std::string encoding; // empty: guessed per file
    bool recursive = false;
    unsigned jobs = 0; // 0: one per processor
    ThemeName theme = ThemeName::Light;
    bool lineNumbers = false;
    std::string title;                 // of the index; empty: the projects' names
    std::vector<std::string> excludes; // patterns of files and folders to leave out
};

// Writes the site of the projects into the output folder: index.html, quillmark.css and a page
// per module, each replaced whole; other files there are left alone. Problems go to err, and
// what can be written still is. With showProgress a progress line is drawn on err. Returns the
// exit code: kDone, kFailed when anything was left out or could not be written, kUsage.
int BuildSite(const SiteOptions& options, std::ostream& err, bool showProgress);

} // namespace quillmark::cli
