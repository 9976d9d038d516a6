#include "platform/files/TemporaryFiles.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "base/ShortName.h"
#include "platform/files/FolderListing.h"
#include "platform/files/LiveTemporaryFiles.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

namespace quillmark {
namespace {

constexpr std::string_view kMark = ".tmp";

// The process id in a temporary twin's name "NAME.tmpPID-N", and NAME; nothing when the name
// is not one.
std::optional<std::uint64_t> TwinOf(std::string_view name, std::string_view& file)
{
    const std::size_t mark = name.rfind(kMark);
    if (mark == std::string_view::npos || mark == 0)
        return std::nullopt;
    const char* const end = name.data() + name.size();
    const char* p = name.data() + mark + kMark.size();
    std::uint64_t pid = 0;
    unsigned long serial = 0;
    const auto [dash, pidError] = std::from_chars(p, end, pid);
    if (pidError != std::errc() || dash == p || pid == 0 || dash == end || *dash != '-')
        return std::nullopt;
    const auto [last, serialError] = std::from_chars(dash + 1, end, serial);
    if (serialError != std::errc() || last == dash + 1 || last != end)
        return std::nullopt;
    file = name.substr(0, mark);
    return pid;
}

} // namespace

LiveTemporaryFiles& LiveFiles()
{
    static auto* live = new LiveTemporaryFiles;
    return *live;
}

std::string NextTwin(const std::string& path, LiveTemporaryFiles& live)
{
#ifdef _WIN32
    constexpr std::string_view kSeparators = "/\\";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const std::string mark = std::string(kMark) + std::to_string(CurrentProcessId()) + "-" + std::to_string(live.next++);
    // The twin's name fits wherever the file's does: a long one is cut to make room for the mark.
    const std::size_t name = path.find_last_of(kSeparators) + 1;
    return path.substr(0, name) + ShortName(std::string_view(path).substr(name), kMaxNameBytes - mark.size()) + mark;
}

void ForgetTemporaryFile(const std::string& temp)
{
    LiveTemporaryFiles& live = LiveFiles();
    const std::lock_guard guard(live.lock);
    live.paths.erase(temp);
}

bool IsStaleTwin(std::string_view name, const std::function<bool(std::string_view name)>& ours)
{
    std::string_view file;
    const std::optional<std::uint64_t> pid = TwinOf(name, file);
    return pid && *pid != CurrentProcessId() && ours(file) && !IsRunning(*pid);
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                               const std::function<bool(std::string_view name)>& ours)
{
    std::vector<FolderEntry> entries;
    try {
        entries = ListedFolder(folder).Entries();
    } catch (const RuntimeError&) {
        return; // what cannot be listed cannot be written to either, which says why
    }
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder || !IsStaleTwin(Utf8FromPath(entry.path.filename()), ours))
            continue;
        std::error_code kind;
        if (std::filesystem::symlink_status(entry.path, kind).type() == std::filesystem::file_type::regular)
            std::filesystem::remove(entry.path, kind);
    }
}

} // namespace quillmark
