#include "cli/site/SiteFolders.h"

#include "cli/site/SitePaths.h"
#include "platform/files/TemporaryFiles.h"

#include <set>

namespace quillmark::cli {

namespace fs = std::filesystem;

std::vector<std::string> LeaveOutInputs(std::vector<SiteProject>& projects, const fs::path& folder,
                                        const InputFiles& inputs)
{
    std::vector<std::string> problems;
    for (SiteProject& project : projects) {
        std::erase_if(project.modules, [&](const SiteModule& module) {
            const std::string page = (folder / module.page).string();
            const std::string* input = inputs.Find(page);
            if (input)
                problems.push_back(page + ": it is one of the inputs (" + *input + "); module " + module.name +
                                   " is left out");
            return input != nullptr;
        });
    }
    return problems;
}

void PreparePageFolders(const fs::path& folder, const std::vector<SiteProject>& projects)
{
    std::set<fs::path> folders{folder};
    for (const SiteProject& project : projects)
        for (const SiteModule& module : project.modules)
            folders.insert((folder / module.page).parent_path());
    const auto isSiteFile = [](std::string_view name) { return name == kStyleSheetFile || name.ends_with(".html"); };
    for (const fs::path& pages : folders) {
        std::error_code ec;
        fs::create_directories(pages, ec);
        RemoveStaleTemporaryFiles(pages, isSiteFile);
    }
}

} // namespace quillmark::cli
