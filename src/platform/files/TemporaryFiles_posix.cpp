// Temporary twins on POSIX systems: removed by a thread that waits for the signals.

#include "platform/files/LiveTemporaryFiles.h"
#include "platform/files/TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace quillmark {
namespace {

[[noreturn]] void RemoveAndEnd(int number)
{
    LiveTemporaryFiles& live = LiveFiles();
    // Held to the end, so that no file is made or listed once the removal has begun.
    live.lock.lock();
    for (const auto& [temp, folder] : live.paths)
        ::unlinkat(folder < 0 ? AT_FDCWD : folder, temp.c_str(), 0);
    std::signal(number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    std::raise(number);
    ::_exit(128 + number);
}

} // namespace

std::uint64_t CurrentProcessId()
{
    return static_cast<std::uint64_t>(::getpid());
}

bool IsRunning(std::uint64_t processId)
{
    const auto pid = static_cast<pid_t>(processId);
    if (pid <= 0 || static_cast<std::uint64_t>(pid) != processId)
        return false;
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

int CreateTemporaryFile(const std::string& path, mode_t mode, std::string& temp)
{
    return CreateTemporaryFileIn(AT_FDCWD, path, mode, temp);
}

int CreateTemporaryFileIn(int folder, const std::string& name, mode_t mode, std::string& temp)
{
    LiveTemporaryFiles& live = LiveFiles();
    int fd = -1;
    int error = 0;
    {
        // Made and listed at once: a signal's removal never runs between the two. open()
        // applies the umask to the mode, which mkstemp would not.
        const std::lock_guard guard(live.lock);
        do {
            temp = NextTwin(name, live);
            fd = ::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EEXIST);
        error = errno;
        if (fd >= 0)
            live.paths.emplace(temp, folder == AT_FDCWD ? -1 : folder);
    }
    errno = error;
    return fd;
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

} // namespace quillmark
