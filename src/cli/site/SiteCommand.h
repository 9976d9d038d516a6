#pragma once

#include "cli/site/Site.h"

#include <CLI/CLI.hpp>

#include <string>

namespace quillmark::cli {

struct SiteCommand {
    SiteOptions options;
    bool quiet = false;
    CLI::App* command = nullptr;
};

// Adds `quillmark site` with its options to app, parsing into site.
void AddSiteCommand(CLI::App& app, SiteCommand& site);

// Builds the site; the progress line is drawn when standard error is a terminal, unless quiet.
int RunSiteCommand(SiteCommand& site);

} // namespace quillmark::cli
