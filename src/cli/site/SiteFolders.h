#pragma once

#include "cli/InputFiles.h"
#include "cli/site/SiteProject.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillmark::cli {

// Leaves out the modules whose page would take the place of one of the inputs (through a link
// to it); what was left out, one problem each.
std::vector<std::string> LeaveOutInputs(std::vector<SiteProject>& projects, const std::filesystem::path& folder,
                                        const InputFiles& inputs);

// Makes the folders of the pages in folder, and removes from them and from folder the
// temporary files of pages and style sheets that a stopped run left. A folder that cannot be
// made is left for its pages to report.
void PreparePageFolders(const std::filesystem::path& folder, const std::vector<SiteProject>& projects);

} // namespace quillmark::cli
