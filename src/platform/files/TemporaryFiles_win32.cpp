// Temporary twins on Windows: removed by the console's control handler.

#include "base/PathText.h"
#include "platform/files/LiveTemporaryFiles.h"
#include "platform/files/TemporaryFiles.h"

#include "platform/win32/SystemHeaders.h"

#include <fcntl.h>
#include <io.h>

namespace quillmark {
namespace {

// Runs on a thread of its own when Ctrl+C or Ctrl+Break is pressed or the console closes.
BOOL WINAPI RemoveAndEnd(DWORD)
{
    LiveTemporaryFiles& live = LiveFiles();
    // Held to the end, so that no file is made or listed once the removal has begun. A twin
    // still open goes when the process ends and closes it.
    live.lock.lock();
    for (const auto& [temp, folder] : live.paths)
        ::DeleteFileW(PathFromUtf8(temp).c_str());
    // As the system ends a process on Ctrl+C; nothing else of this one runs any more.
    ::TerminateProcess(::GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

} // namespace

std::uint64_t CurrentProcessId()
{
    return ::GetCurrentProcessId();
}

bool IsRunning(std::uint64_t processId)
{
    if (processId > MAXDWORD)
        return false;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD status = 0;
    const bool running = ::GetExitCodeProcess(process, &status) && status == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

int CreateTemporaryFile(const std::string& path, mode_t, std::string& temp)
{
    LiveTemporaryFiles& live = LiveFiles();
    // Made and listed at once: the control handler's removal never runs between the two. Others
    // may delete it meanwhile, so that the handler can while it is open.
    const std::lock_guard guard(live.lock);
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    do {
        temp = NextTwin(path, live);
        file = ::CreateFileW(PathFromUtf8(temp).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = ::GetLastError();
    } while (file == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS));
    if (file == INVALID_HANDLE_VALUE) {
        ::SetLastError(error);
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(file);
        ::DeleteFileW(PathFromUtf8(temp).c_str());
        ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return -1;
    }
    live.paths.emplace(temp, -1);
    return fd;
}

void RemoveTemporaryFilesOnSignals()
{
    static std::once_flag once;
    std::call_once(once, [] { ::SetConsoleCtrlHandler(RemoveAndEnd, TRUE); });
}

} // namespace quillmark
