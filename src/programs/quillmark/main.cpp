#include "cli/CommandLine.h"
#include "cli/Message.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// The window and the add-in need the window toolkit, which the other commands should not pay
// for when they start: quillmark-desktop, beside this program, runs them.
int RunDesktop(char** argv)
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string desktop = (ec ? std::filesystem::path(argv[0]) : self).parent_path() / "quillmark-desktop";
    ::execv(desktop.c_str(), argv);
    quillmark::cli::WriteMessage(std::cerr, "cannot start " + desktop + " (" + std::strerror(errno) +
                                                "); this build of quillmark has no window and no add-in");
    return quillmark::cli::kFailed;
}

} // namespace

int main(int argc, char** argv)
{
    quillmark::cli::CommandLine line;
    if (const auto status = line.Parse(argc, argv))
        return *status;
    if (line.WantsDesktop())
        return RunDesktop(argv);
    return RunCommand(line);
}
