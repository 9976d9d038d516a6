#include "cli/InputFiles.h"

#include "codemodel/RuntimeError.h"
#include "platform/editor/FileProjects.h"
#include "platform/editor/ModuleFiles.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quillmark::cli {

InputFiles::InputFiles(const std::vector<std::string>& paths, bool recursive)
{
    const auto add = [this](const std::string& name, const struct stat& status) {
        files_.try_emplace({status.st_dev, status.st_ino}, name);
    };
    for (const std::string& path : paths) {
        struct stat status {};
        if (path == StandardInput) {
            if (::fstat(STDIN_FILENO, &status) == 0)
                add("standard input", status);
            continue;
        }
        if (::stat(path.c_str(), &status) != 0)
            continue;
        add(path, status);
        if (!S_ISDIR(status.st_mode))
            continue;
        try {
            for (const std::filesystem::path& file : ModuleFilesIn(path, recursive))
                if (struct stat module{}; ::stat(file.c_str(), &module) == 0)
                    add(file.string(), module);
        } catch (const RuntimeError&) {
            // Reading the folder says what is wrong with it.
        }
    }
}

const std::string* InputFiles::Find(const std::string& path) const
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return nullptr;
    const auto found = files_.find({status.st_dev, status.st_ino});
    return found == files_.end() ? nullptr : &found->second;
}

} // namespace quillmark::cli
