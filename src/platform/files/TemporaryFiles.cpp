#include "platform/files/TemporaryFiles.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace quillmark {
namespace {

constexpr std::string_view kMark = ".tmp";

struct LiveFiles {
    std::mutex lock;
    std::unordered_set<std::string> paths;
    unsigned long next = 0;
};

// Never destroyed: a signal may arrive while the process ends.
LiveFiles& Live()
{
    static auto* live = new LiveFiles;
    return *live;
}

[[noreturn]] void RemoveAndEnd(int number)
{
    LiveFiles& live = Live();
    // Held to the end, so that no file is made or listed once the removal has begun.
    live.lock.lock();
    for (const std::string& temp : live.paths)
        ::unlink(temp.c_str());
    std::signal(number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    std::raise(number);
    ::_exit(128 + number);
}

// The process id in a temporary twin's name "NAME.tmpPID-N", and NAME; nothing when the name
// is not one.
std::optional<pid_t> TwinOf(std::string_view name, std::string_view& file)
{
    const std::size_t mark = name.rfind(kMark);
    if (mark == std::string_view::npos || mark == 0)
        return std::nullopt;
    const char* const end = name.data() + name.size();
    const char* p = name.data() + mark + kMark.size();
    pid_t pid = 0;
    unsigned long serial = 0;
    const auto [dash, pidError] = std::from_chars(p, end, pid);
    if (pidError != std::errc() || dash == p || pid <= 0 || dash == end || *dash != '-')
        return std::nullopt;
    const auto [last, serialError] = std::from_chars(dash + 1, end, serial);
    if (serialError != std::errc() || last == dash + 1 || last != end)
        return std::nullopt;
    file = name.substr(0, mark);
    return pid;
}

bool IsRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

int CreateTemporaryFile(const std::string& path, mode_t mode, std::string& temp)
{
    LiveFiles& live = Live();
    int fd = -1;
    int error = 0;
    {
        // Made and listed at once: a signal's removal never runs between the two. open()
        // applies the umask to the mode, which mkstemp would not.
        const std::lock_guard guard(live.lock);
        do {
            temp = path + std::string(kMark) + std::to_string(::getpid()) + "-" + std::to_string(live.next++);
            fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EEXIST);
        error = errno;
        if (fd >= 0)
            live.paths.insert(temp);
    }
    errno = error;
    return fd;
}

void ForgetTemporaryFile(const std::string& temp)
{
    LiveFiles& live = Live();
    const std::lock_guard guard(live.lock);
    live.paths.erase(temp);
}

void RemoveTemporaryFilesOnSignals()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sigset_t signals;
        sigemptyset(&signals);
        for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action {};
            if (::sigaction(number, nullptr, &action) == 0 && action.sa_handler != SIG_IGN)
                sigaddset(&signals, number);
        }
        // The signals wait for this thread, which runs no signal handler: it may take the lock
        // and free memory as any thread does.
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        std::thread([signals] {
            if (int number = 0; sigwait(&signals, &number) == 0)
                RemoveAndEnd(number);
        }).detach();
    });
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                               const std::function<bool(std::string_view name)>& ours)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::string_view file;
        const std::optional<pid_t> pid = TwinOf(name, file);
        if (!pid || *pid == ::getpid() || !ours(file) || IsRunning(*pid))
            continue;
        std::error_code kind;
        if (it->symlink_status(kind).type() == fs::file_type::regular)
            fs::remove(it->path(), kind);
    }
}

} // namespace quillmark
