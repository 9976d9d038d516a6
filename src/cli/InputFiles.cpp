#include "cli/InputFiles.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "sources/FileProjects.h"
#include "sources/ModuleFiles.h"

#include <system_error>

namespace quillmark::cli {

InputFiles::InputFiles(const std::vector<std::string>& paths, bool recursive)
{
    const auto add = [this](const std::string& name, const std::optional<FileIdentity>& identity) {
        if (identity)
            files_.try_emplace(*identity, name);
    };
    for (const std::string& path : paths) {
        if (path == StandardInput) {
            add("standard input", StandardInputIdentity());
            continue;
        }
        const std::filesystem::path named = PathFromUtf8(path);
        const std::optional<FileIdentity> identity = IdentityOf(named);
        add(path, identity);
        std::error_code ec;
        if (!identity || !std::filesystem::is_directory(named, ec))
            continue;
        try {
            for (const std::filesystem::path& file : ModuleFilesIn(named, recursive))
                add(Utf8FromPath(file), IdentityOf(file));
        } catch (const RuntimeError&) {
            // Reading the folder says what is wrong with it.
        }
    }
}

const std::string* InputFiles::Find(const std::string& path) const
{
    const std::optional<FileIdentity> identity = IdentityOf(PathFromUtf8(path));
    if (!identity)
        return nullptr;
    const auto found = files_.find(*identity);
    return found == files_.end() ? nullptr : &found->second;
}

} // namespace quillmark::cli
