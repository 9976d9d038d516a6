#pragma once

#include "cli/InputFiles.h"
#include "cli/site/SiteProject.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmark::cli {

// Whether path lies in folder or below it; both without symbolic links, "." or "..".
bool LiesUnder(const std::filesystem::path& folder, const std::filesystem::path& path);

// The folder a site is written into, which nothing written leaves: the folders of a file are
// made one by one under it, and a folder or file that is a symbolic link is followed only while
// it stays under it. The temporary files of pages and style sheets that a stopped run left in a
// folder are removed when the folder is first written to. Safe to use from several threads.
class SiteFolder {
public:
    // folder exists. Throws std::runtime_error.
    explicit SiteFolder(const std::filesystem::path& folder);

    // Where the file at path in the site ("/"-separated) is written, its folders made. Throws
    // std::runtime_error when that would be outside the folder.
    std::string FileFor(std::string_view path);

private:
    std::filesystem::path FolderFor(std::string_view path);

    std::filesystem::path root_; // canonical
    std::mutex mutex_;
    std::unordered_map<std::string, std::filesystem::path> folders_; // made, by their path in the site
};

// Leaves out the modules whose page would take the place of one of the inputs (through a link
// to it); what was left out, one problem each.
std::vector<std::string> LeaveOutInputs(std::vector<SiteProject>& projects, const std::filesystem::path& folder,
                                        const InputFiles& inputs);

} // namespace quillmark::cli
