#include "sources/ModuleFiles.h"

#include "base/AsciiText.h"
#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "platform/files/FolderListing.h"
#include "sources/TextDecoding.h"

#include <algorithm>
#include <array>
#include <string>
#include <tuple>

namespace quillmark {

namespace fs = std::filesystem;

namespace {

// Paths by file name ignoring case, then by exact name.
void SortByName(std::vector<fs::path>& paths)
{
    struct Listed {
        std::string key;
        std::string name;
        fs::path path;
    };
    std::vector<Listed> listed;
    listed.reserve(paths.size());
    for (fs::path& path : paths) {
        std::string name = Utf8FromPath(path.filename());
        listed.push_back({LowerAscii(name), std::move(name), std::move(path)});
    }
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return std::tie(a.key, a.name) < std::tie(b.key, b.name); });
    paths.clear();
    for (Listed& each : listed)
        paths.push_back(std::move(each.path));
}

// Judged by the decoded name, as it is shown: a byte-order mark in front of ".." or ".git" is
// dropped in decoding, and must not let the folder through.
bool IsHidden(const fs::path& folder)
{
    return DecodeName(Utf8FromPath(folder.filename())).starts_with('.');
}

void CollectModuleFiles(const fs::path& folder, bool recursive, const std::function<bool(const fs::path&)>& leaveOut,
                        std::vector<fs::path>& out)
{
    std::vector<fs::path> files;
    std::vector<fs::path> subfolders;
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (entry.isFile && IsModuleFile(entry.path)) {
            if (!leaveOut || !leaveOut(entry.path))
                files.push_back(entry.path);
        } else if (recursive && entry.isFolder && !IsHidden(entry.path) && (!leaveOut || !leaveOut(entry.path))) {
            subfolders.push_back(entry.path);
        }
    }
    SortByName(files);
    SortByName(subfolders);
    out.insert(out.end(), files.begin(), files.end());
    for (const fs::path& subfolder : subfolders)
        CollectModuleFiles(subfolder, true, leaveOut, out);
}

} // namespace

std::span<const std::string_view> ModuleFileExtensions()
{
    static constexpr std::array<std::string_view, 3> extensions{".bas", ".cls", ".frm"};
    return extensions;
}

bool IsModuleFile(const fs::path& path)
{
    const std::string ext = LowerAscii(Utf8FromPath(path.extension()));
    const auto extensions = ModuleFileExtensions();
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

std::vector<fs::path> ModuleFilesIn(const fs::path& folder, bool recursive,
                                    const std::function<bool(const fs::path&)>& leaveOut)
{
    std::vector<fs::path> files;
    CollectModuleFiles(folder, recursive, leaveOut, files);
    return files;
}

} // namespace quillmark
