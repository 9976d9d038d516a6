#pragma once

#include "cli/InputFiles.h"
#include "cli/site/SiteProject.h"
#include "platform/files/Folder.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmark::cli {

// Whether path lies in folder or below it; both without symbolic links, "." or "..".
bool LiesUnder(const std::filesystem::path& folder, const std::filesystem::path& path);

// The folder a site is written into, which nothing written leaves: it is opened once, taken
// for this run alone (a second run into it waits), and the folders of a file are made one by
// one in it, each opened through the one above; a symbolic link in the way, there from the start
// or swapped in meanwhile, is refused and nothing is written through it. The temporary twins that
// a stopped run left in a folder of the files whose names ours accepts are removed when the
// folder is first written to. Safe to use from several threads.
class SiteFolder {
public:
    using Ours = std::function<bool(std::string_view name)>;

    // folder exists; waiting is called before the run waits for another that writes there.
    // Throws RuntimeError.
    SiteFolder(const std::filesystem::path& folder, const std::function<void()>& waiting, Ours ours);

    struct File {
        const Folder& folder;
        std::string name;
    };

    // Where the file at path in the site ("/"-separated) is written, its folders made. Throws
    // RuntimeError when it cannot be written there.
    File FileFor(std::string_view path);

private:
    const Folder& FolderFor(std::string_view path);

    Ours ours_;
    Folder root_;
    std::mutex mutex_;
    std::unordered_map<std::string, Folder> folders_; // opened, by their path in the site
};

// Leaves out the modules whose page would take the place of one of the inputs (through a link
// to it); what was left out, one problem each, at the page.
std::vector<RuntimeError> LeaveOutInputs(std::vector<SiteProject>& projects, const std::filesystem::path& folder,
                                         const InputFiles& inputs);

} // namespace quillmark::cli
