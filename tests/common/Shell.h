#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace quillmark::testing {

struct ShellResult {
    int status;
    std::string out;
};

// Runs a shell command line and returns its exit status (-1 when it did not exit) and
// standard output.
inline ShellResult Shell(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

} // namespace quillmark::testing
