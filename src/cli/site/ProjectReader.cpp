#include "cli/site/ProjectReader.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "cli/LineMarks.h"
#include "cli/site/Callers.h"
#include "cli/site/NameMap.h"
#include "cli/site/Parallel.h"
#include "cli/site/SiteFolder.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFiles.h"
#include "sources/ProcedureTable.h"
#include "sources/TextDecoding.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

// The path made absolute, without "." parts or a trailing separator.
fs::path AbsolutePath(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(PathFromUtf8(path), ec);
    absolute = (ec ? PathFromUtf8(path) : absolute).lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute;
}

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

// The file a module file links to when that lies outside folder (without links); else "".
std::string TargetOutside(const fs::path& folder, const fs::path& file)
{
    std::error_code ec;
    if (!fs::is_symlink(file, ec))
        return {};
    const fs::path target = fs::canonical(file, ec);
    return ec || LiesUnder(folder, target) ? "" : Utf8FromPath(target);
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
    fs::path file;
    std::string folder;
};

// A module file's module, or why it cannot be read.
struct DescribedFile {
    std::optional<SiteModule> module;
    std::string problem;
};

DescribedFile DescribeFile(const PendingFile& pending, const std::string& encoding, const KeywordTable& keywords)
{
    try {
        SiteModule module =
            Describe(OpenProject(Utf8FromPath(pending.file), encoding)->Components()->All().front(), keywords);
        module.file = pending.file;
        module.folder = pending.folder;
        return {std::move(module), {}};
    } catch (const RuntimeError& e) {
        return {std::nullopt, e.what()};
    }
}

} // namespace

ReadProjects ReadSiteProjects(const std::vector<std::string>& paths, const ReadOptions& options)
{
    ReadProjects result;
    const auto keywords = MakeKeywordTable();
    std::vector<PendingFile> pending;
    std::vector<bool> isFolder;
    for (const std::string& path : paths) {
        const fs::path absolute = AbsolutePath(path);
        try {
            std::error_code ec;
            if (fs::is_directory(absolute, ec)) {
                std::vector<ExcludedPath> excluded;
                const auto leaveOut = [&](const fs::path& path) {
                    std::string below = PathBelow(absolute, path);
                    const std::string* pattern = options.excluded.Match(below);
                    if (pattern) {
                        std::error_code typeError;
                        if (fs::is_directory(path, typeError))
                            below += '/';
                        excluded.push_back({std::move(below), *pattern});
                    }
                    return pattern != nullptr;
                };
                const std::vector<fs::path> files = ModuleFilesIn(absolute, options.recursive, leaveOut);
                if (files.empty())
                    throw RuntimeError(err::FileNotFound, {Utf8FromPath(absolute)},
                                       options.recursive
                                           ? "the folder and its subfolders hold no module files (.bas, .cls, .frm)"
                                           : "the folder holds no module files (.bas, .cls, .frm); --recursive reads "
                                             "its subfolders too");
                const fs::path real = fs::canonical(absolute, ec);
                for (const fs::path& file : files) {
                    if (const std::string target = TargetOutside(real, file); !target.empty())
                        result.problems.push_back(Utf8FromPath(file) + ": a link to " + target +
                                                  ", outside the project's folder");
                    else
                        pending.push_back({result.projects.size(), file, FolderBelow(absolute, file)});
                }
                result.projects.push_back({Utf8FromPath(absolute), ProjectName(absolute), {}, {}, std::move(excluded)});
                isFolder.push_back(true);
                continue;
            }
            const auto project = OpenProject(path, options.encoding);
            if (project->Protection() != 0)
                throw RuntimeError(err::ProjectProtected, {project->FileName()},
                                   "the VBA project is locked for viewing; Quillmark shows none of its code");
            SiteProject site{Utf8FromPath(absolute), ProjectName(absolute), {}, {}, {}};
            for (const auto& component : project->Components()->All()) {
                site.modules.push_back(Describe(component, *keywords));
                site.modules.back().held = component->Module();
            }
            result.projects.push_back(std::move(site));
            isFolder.push_back(false);
        } catch (const RuntimeError& e) {
            result.problems.push_back(e.what());
        }
    }

    std::vector<DescribedFile> described(pending.size());
    RunInParallel(pending.size(), options.jobs,
                  [&](std::size_t i) { described[i] = DescribeFile(pending[i], options.encoding, *keywords); });

    std::vector<NameMap<fs::path>> filesByName(result.projects.size());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (!described[i].module) {
            result.problems.push_back(described[i].problem);
            continue;
        }
        SiteModule& module = *described[i].module;
        const auto [first, added] = filesByName[pending[i].project].emplace(module.name, pending[i].file);
        if (!added) {
            result.problems.push_back(Utf8FromPath(pending[i].file) + ": the module name \"" + module.name +
                                      "\" is already used by " + Utf8FromPath(first->second) +
                                      "; module names must differ within a project, as in the editor");
            continue;
        }
        result.projects[pending[i].project].modules.push_back(std::move(module));
    }
    // A folder none of whose files could be read has been reported file by file.
    for (std::size_t p = result.projects.size(); p-- > 0;)
        if (isFolder[p] && result.projects[p].modules.empty())
            result.projects.erase(result.projects.begin() + static_cast<std::ptrdiff_t>(p));
    return result;
}

std::shared_ptr<MemoryCodeModule> ModuleCode(const SiteModule& module, const std::string& encoding)
{
    if (module.held)
        return module.held;
    return OpenProject(Utf8FromPath(module.file), encoding)->Components()->All().front()->Module();
}

} // namespace quillmark::cli
