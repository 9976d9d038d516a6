#include "sources/ModuleFolder.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFiles.h"

#include <algorithm>
#include <system_error>

namespace quillmark {

namespace fs = std::filesystem;

namespace {

bool LiesUnder(const fs::path& folder, const fs::path& path)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

} // namespace

ModuleFolder::ModuleFolder(const std::string& path, bool recursive,
                           const std::function<bool(const fs::path&)>& leaveOut)
    : path_(AbsoluteProjectPath(path))
{
    files_ = ModuleFilesIn(PathFromUtf8(path_), recursive, leaveOut);
    if (files_.empty())
        throw RuntimeError(err::FileNotFound, {path_},
                           recursive ? "the folder and its subfolders hold no module files (.bas, .cls, .frm)"
                                     : "the folder holds no module files (.bas, .cls, .frm)");
    std::error_code ec;
    real_ = fs::canonical(PathFromUtf8(path_), ec);
}

const fs::path& ModuleFolder::File(std::size_t i) const
{
    const fs::path& file = files_.at(i);
    std::error_code ec;
    if (fs::is_symlink(file, ec)) {
        const fs::path target = fs::canonical(file, ec);
        if (!ec && !LiesUnder(real_, target))
            throw RuntimeError(err::PathFileAccess, {Utf8FromPath(file)},
                               "a link to " + Utf8FromPath(target) + ", outside the project's folder");
    }
    return file;
}

std::shared_ptr<MemoryComponent> ModuleFolder::Read(std::size_t i, const std::string& encoding) const
{
    return OpenModuleFile(File(i), encoding);
}

std::optional<RuntimeError> ModuleFolder::Claim(std::size_t i, const std::string& name)
{
    const auto [first, added] = claimed_.emplace(LowerAscii(name), i);
    if (added)
        return std::nullopt;
    return RuntimeError(err::DuplicateKey, {Utf8FromPath(files_.at(i))},
                        "the module name \"" + name + "\" is already used by " +
                            Utf8FromPath(files_.at(first->second)) +
                            "; module names must differ within a project, as in the editor");
}

} // namespace quillmark
