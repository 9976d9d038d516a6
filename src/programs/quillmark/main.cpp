#include "cli/CommandLine.h"
#include "cli/Message.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// The window and the add-in need the window toolkit, which the other commands should not pay
// for when they start: quillmark-desktop runs them, beside this program in the build tree and
// in quillmark's own folder of libexec when installed.
int RunDesktop(char** argv)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path folder = (ec ? fs::path(argv[0]) : self).parent_path();
    const fs::path places[] = {folder / "quillmark-desktop", (folder / QUILLMARK_INSTALLED_DESKTOP).lexically_normal()};
    for (const fs::path& desktop : places) {
        ::execv(desktop.c_str(), argv);
        if (errno != ENOENT) {
            quillmark::cli::WriteMessage(std::cerr,
                                         "cannot start " + desktop.string() + " (" + std::strerror(errno) + ")");
            return quillmark::cli::kFailed;
        }
    }
    quillmark::cli::WriteMessage(std::cerr, "the window and the add-in come with quillmark-desktop, which is not "
                                            "installed (looked for " +
                                                places[0].string() + " and " + places[1].string() +
                                                "); install the package quillmark-desktop, or build with the "
                                                "window toolkit (QUILLMARK_GUI=ON)");
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
