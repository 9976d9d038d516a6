#include "cli/site/SiteFolder.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "cli/site/SitePaths.h"

#include <algorithm>
#include <stdexcept>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

void RemoveStaleSiteFiles(const Folder& folder)
{
    folder.RemoveStaleTemporaryFiles(
        [](std::string_view name) { return name == kStyleSheetFile || name.ends_with(".html"); });
}

} // namespace

bool LiesUnder(const fs::path& folder, const fs::path& path)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

SiteFolder::SiteFolder(const fs::path& folder, const std::function<void()>& waiting)
    : root_(Utf8FromPath(folder))
{
    if (!root_.TryLock()) {
        waiting();
        root_.Lock();
    }
    RemoveStaleSiteFiles(root_);
}

const Folder& SiteFolder::FolderFor(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return root_;
    const std::string name(path.substr(0, slash));
    std::lock_guard lock(mutex_);
    if (const auto found = folders_.find(name); found != folders_.end())
        return found->second;
    const Folder* folder = &root_;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            throw std::runtime_error(root_.PathOf(name) + ": not a folder of the site");
        const std::string opened = name.substr(0, end);
        start = end + 1;
        if (const auto found = folders_.find(opened); found != folders_.end()) {
            folder = &found->second;
            continue;
        }
        try {
            folder = &folders_.emplace(opened, folder->Subfolder(part)).first->second;
        } catch (const RuntimeError& e) {
            throw std::runtime_error(std::string(e.what()) + "; " + std::string(path) + " is not written");
        }
        RemoveStaleSiteFiles(*folder);
    }
    return *folder;
}

SiteFolder::File SiteFolder::FileFor(std::string_view path)
{
    const std::string name(path.substr(path.rfind('/') + 1));
    if (name.empty() || name == "." || name == "..")
        throw std::runtime_error(root_.PathOf(path) + ": not a file of the site");
    const Folder& folder = FolderFor(path);
    // Renaming over a link would not follow it, but would drop what the user put there.
    if (folder.HoldsLink(name))
        throw std::runtime_error("cannot write " + folder.PathOf(name) + ": it is a symbolic link, which is not followed");
    return {folder, name};
}

} // namespace quillmark::cli

namespace quillmark::cli {

std::vector<std::string> LeaveOutInputs(std::vector<SiteProject>& projects, const fs::path& folder,
                                        const InputFiles& inputs)
{
    std::vector<std::string> problems;
    for (SiteProject& project : projects) {
        std::erase_if(project.modules, [&](const SiteModule& module) {
            const std::string page = Utf8FromPath(folder / PathFromUtf8(module.page));
            const std::string* input = inputs.Find(page);
            if (input)
                problems.push_back(page + ": it is one of the inputs (" + *input + "); module " + module.name +
                                   " is left out");
            return input != nullptr;
        });
    }
    return problems;
}

} // namespace quillmark::cli
