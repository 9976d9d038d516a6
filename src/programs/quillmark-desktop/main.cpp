// quillmark-desktop: the commands of quillmark that need the window toolkit. quillmark starts
// it for them; the others it runs as quillmark does.
#include "cli/CommandLine.h"
#include "cli/Message.h"

#include "addin/Registration.h"
#include "base/RuntimeError.h"
#include "programs/standin-editor/RunEditor.h"
#include "sources/FileProjects.h"
#include "window/qt/WindowApp.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

using namespace quillmark::cli;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Why the window toolkit would find no display server to open a window on; empty when it
// would, or when QT_QPA_PLATFORM names a platform that needs none (offscreen, as the tests
// run it; eglfs, vnc, ...). Without this, the toolkit aborts with advice to reinstall.
std::string MissingDisplay()
{
    const std::string platforms = Environment("QT_QPA_PLATFORM");
    std::vector<std::string> needed; // the variables that lead to the display servers tried
    if (platforms.empty())
        needed = {"DISPLAY", "WAYLAND_DISPLAY"};
    std::istringstream list(platforms); // "wayland;xcb" tries them in turn
    for (std::string platform; std::getline(list, platform, ';');) {
        platform = platform.substr(0, platform.find(':')); // "xcb:option"
        const char* variable = platform == "xcb"                 ? "DISPLAY"
                               : platform.starts_with("wayland") ? "WAYLAND_DISPLAY"
                                                                 : nullptr;
        if (variable == nullptr)
            return {};
        if (std::find(needed.begin(), needed.end(), variable) == needed.end())
            needed.push_back(variable);
    }
    std::string unset;
    for (const std::string& variable : needed) {
        if (!Environment(variable.c_str()).empty())
            return {};
        unset += (unset.empty() ? "" : " and ") + variable;
    }
    unset += needed.size() > 1 ? " are unset" : " is unset";
    return platforms.empty() ? unset : "QT_QPA_PLATFORM is " + platforms + " and " + unset;
}

int RunWindowCommand(CommandLine& line, int argc, char** argv)
{
    auto editor = quillmark::OpenEditor(line.options.paths, line.options.module, line.options.encoding);
    for (const std::string& note : quillmark::LockedProjectNotes(*editor))
        WriteMessage(std::cerr, note);
    return quillmark::RunWindow(argc, argv, editor);
}

int RunDesktopCommand(CommandLine& line, int argc, char** argv)
{
    const std::string library = line.library.empty() ? quillmark::AddInLibraryPath() : line.library;
    try {
        if (line.version) {
            std::cout << quillmark::VersionText(library);
            return kDone;
        }
        if (line.window->parsed() || line.editor->parsed()) {
            if (const std::string missing = MissingDisplay(); !missing.empty()) {
                WriteMessage(std::cerr, "no display found (" + missing + "); the " +
                                            (line.window->parsed() ? "window" : "editor") +
                                            " needs a graphical session, or run it under xvfb-run");
                return kFailed;
            }
        }
        if (line.window->parsed())
            return RunWindowCommand(line, argc, argv);
        if (line.editor->parsed())
            return quillmark::RunEditor(argc, argv, line.options.paths, line.options.encoding);
        if (line.registerAddIn->parsed())
            return quillmark::RegisterAddIn(library);
        if (line.unregisterAddIn->parsed())
            return quillmark::UnregisterAddIn(library);
    } catch (const quillmark::RuntimeError& e) {
        return ReportFailure(std::cerr, e);
    }
    return kUsage;
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    if (const auto status = line.Parse(argc, argv))
        return *status;
    if (line.WantsDesktop())
        return RunDesktopCommand(line, argc, argv);
    return RunCommand(line);
}
