#include "cli/site/ProjectReader.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "cli/LineMarks.h"
#include "cli/site/Callers.h"
#include "cli/site/Parallel.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFolder.h"
#include "sources/ProcedureTable.h"
#include "sources/TextDecoding.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>
#include <set>
#include <system_error>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

// Names from the file system may hold any bytes; shown on pages they must be text.
std::string ProjectName(const fs::path& absolute)
{
    const std::string name = Utf8FromPath(absolute.filename());
    return DecodeName(name.empty() ? Utf8FromPath(absolute) : name);
}

// The path below the project's folder, "/"-separated, as text; "" for the folder itself.
std::string PathBelow(const fs::path& project, const fs::path& path)
{
    std::string below;
    for (const fs::path& part : path.lexically_relative(project)) {
        if (part == ".")
            continue;
        below += (below.empty() ? "" : "/") + DecodeName(Utf8FromPath(part));
    }
    return below;
}

// The file's folder below the project's folder; "" at the top.
std::string FolderBelow(const fs::path& project, const fs::path& file)
{
    return PathBelow(project, file.parent_path());
}

// The patterns that left something out, each once, in a fixed order: folders are listed in
// whatever order the system keeps.
std::string PatternsThatMatched(const std::vector<ExcludedPath>& excluded)
{
    std::set<std::string> patterns;
    for (const ExcludedPath& path : excluded)
        patterns.insert(path.pattern);
    std::string list;
    for (const std::string& pattern : patterns)
        list += (list.empty() ? "" : ", ") + pattern;
    return list;
}

SiteModule Describe(const std::shared_ptr<MemoryComponent>& component, const KeywordTable& keywords)
{
    MemoryCodeModule& code = *component->Module();
    SiteModule module;
    module.name = code.Name();
    module.type = component->Type();
    module.lineCount = code.CountOfLines();
    const auto& blocks = code.Procedures().Blocks();
    const ProcedureIndex index = IndexOf(blocks);
    module.uses = NamesUsedIn({module.name, code.Text(), index, std::max(module.lineCount, 1)}, keywords);
    const LineMarks marks(false, blocks);
    for (const ProcRecord& record : blocks) {
        const ProcedureStatement statement = FindProcedureStatement(code.Text(), record);
        module.procedures.push_back(
            {record, statement.isPrivate, marks.IsTaken(statement.line) ? 0 : statement.line, {}});
    }
    return module;
}

struct PendingFile {
    std::size_t project;
    std::size_t folder; // of the folders read
    std::size_t file;   // of the folder's files
};

// A module file's module, or why it cannot be read.
struct DescribedFile {
    std::optional<SiteModule> module;
    std::optional<RuntimeError> problem;
};

// Module files' code is kept for their pages up to this many bytes of files, so that a project
// of a usual size is read once; past it, each page reads its file again, so that a project of any
// size needs about a page's worth of code at a time.
constexpr std::uintmax_t kHeldBytes = 32 << 20;

DescribedFile DescribeFile(const ModuleFolder& folder, std::size_t file, const std::string& encoding,
                           const KeywordTable& keywords, std::atomic<std::uintmax_t>& held)
{
    try {
        const auto component = folder.Read(file, encoding);
        SiteModule module = Describe(component, keywords);
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(folder.Files()[file], ec);
        if (!ec && held.fetch_add(size) + size <= kHeldBytes)
            module.held = component->Module();
        module.file = folder.Files()[file];
        module.folder = FolderBelow(PathFromUtf8(folder.Path()), module.file);
        return {std::move(module), std::nullopt};
    } catch (const RuntimeError& e) {
        return {std::nullopt, e};
    }
}

// The folder's module files, which leaveOut may pass over; without recursive, a folder whose
// module files are all in subfolders says how to read them.
ModuleFolder ListFolder(const std::string& path, bool recursive, const std::function<bool(const fs::path&)>& leaveOut)
{
    try {
        return ModuleFolder(path, recursive, leaveOut);
    } catch (const RuntimeError& e) {
        if (recursive || e.Number() != err::FileNotFound)
            throw;
        throw RuntimeError(e.Number(), e.Place(), e.Problem() + "; --recursive reads its subfolders too");
    }
}

} // namespace

ReadProjects ReadSiteProjects(const std::vector<std::string>& paths, const ReadOptions& options)
{
    ReadProjects result;
    const auto keywords = MakeKeywordTable();
    std::vector<ModuleFolder> folders;
    std::vector<PendingFile> pending;
    for (const std::string& path : paths) {
        const std::string absolute = AbsoluteProjectPath(path);
        const fs::path folder = PathFromUtf8(absolute);
        try {
            std::error_code ec;
            if (fs::is_directory(folder, ec)) {
                std::vector<ExcludedPath> excluded;
                const auto leaveOut = [&](const fs::path& path) {
                    std::string below = PathBelow(folder, path);
                    const std::string* pattern = options.excluded.Match(below);
                    if (pattern) {
                        std::error_code typeError;
                        if (fs::is_directory(path, typeError))
                            below += '/';
                        excluded.push_back({std::move(below), *pattern});
                    }
                    return pattern != nullptr;
                };
                try {
                    folders.push_back(ListFolder(absolute, options.recursive, leaveOut));
                } catch (const RuntimeError& e) {
                    if (e.Number() != err::FileNotFound || excluded.empty())
                        throw;
                    throw RuntimeError(err::FileNotFound, {absolute},
                                       "--exclude left out every module file (" + PatternsThatMatched(excluded) +
                                           "); nothing is left to make pages of");
                }
                for (std::size_t f = 0; f < folders.back().Files().size(); ++f)
                    pending.push_back({result.projects.size(), folders.size() - 1, f});
                result.projects.push_back({absolute, ProjectName(folder), {}, {}, std::move(excluded), {}});
                continue;
            }
            const auto project = OpenProject(path, options.encoding);
            if (project->Protection() != 0)
                throw RuntimeError(err::ProjectProtected, {project->FileName()},
                                   "the VBA project is locked for viewing; Quillmark shows none of its code");
            SiteProject site{absolute, ProjectName(folder), {}, {}, {}, {}};
            for (const auto& component : project->Components()->All()) {
                site.modules.push_back(Describe(component, *keywords));
                site.modules.back().held = component->Module();
            }
            result.projects.push_back(std::move(site));
        } catch (const RuntimeError& e) {
            result.problems.push_back(e);
        }
    }

    std::vector<DescribedFile> described(pending.size());
    std::atomic<std::uintmax_t> held = 0;
    RunInParallel(pending.size(), options.jobs, [&](std::size_t i) {
        described[i] = DescribeFile(folders[pending[i].folder], pending[i].file, options.encoding, *keywords, held);
    });
    for (std::size_t i = 0; i < pending.size(); ++i) {
        SiteProject& project = result.projects[pending[i].project];
        if (!described[i].module) {
            project.leftOut.push_back(std::move(*described[i].problem));
            continue;
        }
        SiteModule& module = *described[i].module;
        if (auto duplicate = folders[pending[i].folder].Claim(pending[i].file, module.name)) {
            project.leftOut.push_back(std::move(*duplicate));
            continue;
        }
        project.modules.push_back(std::move(module));
    }
    // A folder none of whose files could be read is no project; what is wrong is told file by file.
    for (std::size_t p = result.projects.size(); p-- > 0;) {
        SiteProject& project = result.projects[p];
        if (!project.modules.empty())
            continue;
        result.problems.insert(result.problems.end(), project.leftOut.begin(), project.leftOut.end());
        result.projects.erase(result.projects.begin() + static_cast<std::ptrdiff_t>(p));
    }
    return result;
}

std::shared_ptr<MemoryCodeModule> ModuleCode(const SiteModule& module, const std::string& encoding)
{
    if (module.held)
        return module.held;
    return OpenModuleFile(module.file, encoding)->Module();
}

} // namespace quillmark::cli
