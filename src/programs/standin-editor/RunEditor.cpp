#include "programs/standin-editor/RunEditor.h"

#include "base/RuntimeError.h"
#include "platform/ui/MessageBox.h"
#include "programs/standin-editor/EditorWindow.h"
#include "sources/FileProjects.h"
#include "window/qt/GuiMessageBox.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace quillmark {

std::vector<std::shared_ptr<MemoryProject>> OpenEditorProjects(const std::vector<std::string>& paths,
                                                               const std::string& encoding)
{
    namespace fs = std::filesystem;
    std::vector<std::shared_ptr<MemoryProject>> projects;
    for (const std::string& path : paths) {
        try {
            projects.push_back(OpenProject(path, encoding));
        } catch (const RuntimeError&) {
            std::error_code ec;
            if (!fs::is_directory(path, ec))
                throw;
            std::vector<fs::path> inside;
            for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
                inside.push_back(it->path());
            std::sort(inside.begin(), inside.end());
            const std::size_t before = projects.size();
            for (const fs::path& entry : inside) {
                try {
                    projects.push_back(OpenProject(entry.string(), encoding));
                } catch (const RuntimeError&) {
                    // Not a project: other files of the folder are no concern of the editor.
                }
            }
            if (projects.size() == before)
                throw;
        }
    }
    return projects;
}

int RunEditor(int& argc, char** argv, const std::vector<std::string>& paths, const std::string& encoding)
{
    std::vector<std::shared_ptr<MemoryProject>> projects = OpenEditorProjects(paths, encoding);
    QApplication app(argc, argv);
    GuiMessageBox messages;
    MessageBox* previous = SetMessageBox(&messages);
    int status = 0;
    {
        EditorWindow window(std::move(projects));
        messages.SetOwner(&window);
        window.show();
        QTimer::singleShot(0, &window, [&window] { window.LoadStartupAddIns(); });
        status = app.exec();
    }
    SetMessageBox(previous);
    return status;
}

} // namespace quillmark
