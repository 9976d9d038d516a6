#include "cli/site/SiteFolder.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"

#include <algorithm>
#include <utility>

namespace quillmark::cli {

namespace fs = std::filesystem;

bool LiesUnder(const fs::path& folder, const fs::path& path)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

SiteFolder::SiteFolder(const fs::path& folder, const std::function<void()>& waiting, Ours ours)
    : ours_(std::move(ours)), root_(Utf8FromPath(folder))
{
    if (!root_.TryLock()) {
        waiting();
        root_.Lock();
    }
    root_.RemoveStaleTemporaryFiles(ours_);
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
            throw RuntimeError(err::PathFileAccess, {root_.PathOf(name)}, "not a folder of the site");
        const std::string opened = name.substr(0, end);
        start = end + 1;
        if (const auto found = folders_.find(opened); found != folders_.end()) {
            folder = &found->second;
            continue;
        }
        try {
            folder = &folders_.emplace(opened, folder->Subfolder(part)).first->second;
        } catch (const RuntimeError& e) {
            throw RuntimeError::OperationFailed(e.Number(), e.Operation(), e.Place().path,
                                                e.Problem() + "; " + std::string(path) + " is not written");
        }
        folder->RemoveStaleTemporaryFiles(ours_);
    }
    return *folder;
}

SiteFolder::File SiteFolder::FileFor(std::string_view path)
{
    const std::string name(path.substr(path.rfind('/') + 1));
    if (name.empty() || name == "." || name == "..")
        throw RuntimeError(err::PathFileAccess, {root_.PathOf(path)}, "not a file of the site");
    const Folder& folder = FolderFor(path);
    // Renaming over a link would not follow it, but would drop what the user put there.
    if (folder.HoldsLink(name))
        throw RuntimeError::OperationFailed(err::PathFileAccess, "cannot write", folder.PathOf(name),
                                            "it is a symbolic link, which is not followed");
    return {folder, name};
}

} // namespace quillmark::cli

namespace quillmark::cli {

std::vector<RuntimeError> LeaveOutInputs(std::vector<SiteProject>& projects, const fs::path& folder,
                                         const InputFiles& inputs)
{
    std::vector<RuntimeError> problems;
    for (SiteProject& project : projects) {
        std::erase_if(project.modules, [&](const SiteModule& module) {
            const std::string page = Utf8FromPath(folder / PathFromUtf8(module.page));
            const std::string* input = inputs.Find(page);
            if (input)
                problems.emplace_back(err::PathFileAccess, ErrorPlace{page},
                                      "it is one of the inputs (" + *input + "); module " + module.name +
                                          " is left out");
            return input != nullptr;
        });
    }
    return problems;
}

} // namespace quillmark::cli
