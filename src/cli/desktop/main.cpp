// quillmark-desktop: the commands of quillmark that need the window toolkit. quillmark starts
// it for them; the others it runs as quillmark does.
#include "cli/CommandLine.h"
#include "cli/Message.h"

#include "addin/Registration.h"
#include "codemodel/RuntimeError.h"
#include "platform/editor/FileProjects.h"
#include "platform/editor/standin/RunEditor.h"
#include "window/qt/WindowApp.h"

#include <iostream>

namespace {

using namespace quillmark::cli;

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
