#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quillmark {

// What the two halves of TemporaryFiles share: the temporary twins that exist now, which a
// stopped run removes, and how they are named. The system's half makes them, removes them when
// the run is stopped, and tells which processes still run.

struct LiveTemporaryFiles {
    std::mutex lock;
    // By the twin's path, or its name in the folder whose descriptor (POSIX) is the value; -1
    // when it is a path.
    std::unordered_map<std::string, int> paths;
    unsigned long next = 0;
};

// Never destroyed: a stop may come while the process ends.
LiveTemporaryFiles& LiveFiles();

// The name of the next twin of path, "NAME.tmpPID-N", NAME cut short (ShortName) when the
// whole would not fit; called with live's lock held.
std::string NextTwin(const std::string& path, LiveTemporaryFiles& live);

// The system's half.
std::uint64_t CurrentProcessId();
bool IsRunning(std::uint64_t processId);

} // namespace quillmark
