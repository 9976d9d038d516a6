#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace quillmark {

// The temporary twins of files being written: "NAME.tmpPID-N" beside the file, N counting up
// within the process, NAME cut short (base/ShortName.h) where the whole would be too long. Each is listed as live from the moment it exists until it is gone again,
// so that a run that is stopped can remove its own.

// Makes a new temporary twin of path with mode (less the umask) and lists it. Returns its
// descriptor and sets temp to its path; -1 with errno set (on Windows, the system's last
// error) when it cannot be made.
int CreateTemporaryFile(const std::string& path, mode_t mode, std::string& temp);

// The same in the folder open as descriptor folder (POSIX): name and temp are names in it.
int CreateTemporaryFileIn(int folder, const std::string& name, mode_t mode, std::string& temp);

// temp is gone: put in its file's place, or removed.
void ForgetTemporaryFile(const std::string& temp);

// From now on SIGINT, SIGTERM and SIGHUP remove the live temporary files, then end the process
// as the signal does (the shell's status 130, 143, 129); on Windows, Ctrl+C, Ctrl+Break and
// closing the console do, and end it as Ctrl+C does. Call it before any other thread starts:
// threads inherit a signal mask that leaves the signals to a thread of their own. Signals that
// the process was started to ignore stay ignored.
void RemoveTemporaryFilesOnSignals();

// Removes the temporary twins in folder that a process no longer running left of the files
// whose names ours accepts (given NAME as the twin has it, which may be cut short); anything else
// there is left alone.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                               const std::function<bool(std::string_view name)>& ours);

// Whether name is the twin of a file whose name ours accepts, left by a process no longer running.
bool IsStaleTwin(std::string_view name, const std::function<bool(std::string_view name)>& ours);

} // namespace quillmark
