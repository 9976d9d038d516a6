#include "window/qt/WindowApp.h"

#include "modhtml/ModHtml.h"
#include "window/qt/GuiMessageBox.h"
#include "window/qt/frmAddIn.h"

#include <QApplication>

namespace quillmark {

int RunWindow(int& argc, char** argv, std::shared_ptr<VBE> editor)
{
    QApplication app(argc, argv);
    GuiMessageBox messages;
    MessageBox* previous = SetMessageBox(&messages);

    int result = 0;
    {
        frmAddIn window;
        messages.SetOwner(&window);
        ModHtml().HostEditor = std::move(editor);
        window.Show();
        result = app.exec();
        window.Unload();
    }
    ModHtml().HostEditor.reset();
    SetMessageBox(previous);
    return result;
}

} // namespace quillmark
