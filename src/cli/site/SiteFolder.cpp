#include "cli/site/SiteFolder.h"

#include "base/PathText.h"
#include "cli/site/SitePaths.h"
#include "platform/files/TemporaryFiles.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

// The path with its symbolic links followed, also one that leads to nothing yet, when that stays
// under root; else the error says so, then what follows from it.
fs::path Resolved(const fs::path& root, const fs::path& path, const std::string& consequence = {})
{
    fs::path target = path;
    std::error_code ec;
    for (int links = 0; fs::is_symlink(target, ec); ++links) {
        const fs::path link = fs::read_symlink(target, ec);
        if (ec || links == 40)
            throw std::runtime_error(Utf8FromPath(path) + ": cannot follow the symbolic link");
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    target = fs::weakly_canonical(target, ec);
    if (ec)
        throw std::runtime_error(Utf8FromPath(path) + ": " + ec.message());
    if (!LiesUnder(root, target))
        throw std::runtime_error(Utf8FromPath(path) + ": a symbolic link leads out of the output folder" + consequence);
    return target;
}

void RemoveStaleSiteFiles(const fs::path& folder)
{
    RemoveStaleTemporaryFiles(folder,
                              [](std::string_view name) { return name == kStyleSheetFile || name.ends_with(".html"); });
}

} // namespace

bool LiesUnder(const fs::path& folder, const fs::path& path)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

SiteFolder::SiteFolder(const fs::path& folder)
{
    std::error_code ec;
    root_ = fs::canonical(folder, ec);
    if (ec)
        throw std::runtime_error(Utf8FromPath(folder) + ": " + ec.message());
    RemoveStaleSiteFiles(root_);
}

fs::path SiteFolder::FolderFor(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return root_;
    const std::string name(path.substr(0, slash));
    std::lock_guard lock(mutex_);
    if (const auto found = folders_.find(name); found != folders_.end())
        return found->second;
    fs::path folder = root_;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == "." || part == "..")
            throw std::runtime_error(Utf8FromPath(root_) + "/" + name + ": not a folder of the site");
        folder /= PathFromUtf8(part);
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(folder, ec);
        if (status.type() == fs::file_type::not_found) {
            fs::create_directory(folder, ec);
            if (ec)
                throw std::runtime_error("cannot create folder " + Utf8FromPath(folder) + ": " + ec.message());
        } else if (status.type() == fs::file_type::symlink) {
            folder = Resolved(root_, folder, "; " + std::string(path) + " is not written");
            if (!fs::is_directory(folder, ec))
                throw std::runtime_error(Utf8FromPath(folder) + ": not a folder; " + std::string(path) +
                                         " is not written");
        }
    }
    RemoveStaleSiteFiles(folder);
    return folders_[name] = folder;
}

std::string SiteFolder::FileFor(std::string_view path)
{
    const std::string name(path.substr(path.rfind('/') + 1));
    if (name.empty() || name == "." || name == "..")
        throw std::runtime_error(Utf8FromPath(root_) + "/" + std::string(path) + ": not a file of the site");
    const fs::path file = FolderFor(path) / PathFromUtf8(name);
    std::error_code ec;
    if (fs::is_symlink(file, ec))
        Resolved(root_, file);
    return Utf8FromPath(file);
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
