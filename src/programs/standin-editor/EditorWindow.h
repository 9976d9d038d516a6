#pragma once

#include "programs/standin-editor/AddInHost.h"
#include "programs/standin-editor/StandinVBE.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QMenu;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillmark {

class AddInManagerDialog;

// The stand-in editor: a project explorer, the code pane of the module selected there, and
// an "Add-Ins" menu that is the editor's "Add-Ins" command bar, with its Add-In Manager.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EditorWindow(std::vector<std::shared_ptr<MemoryProject>> projects, QWidget* parent = nullptr);
    ~EditorWindow() override;

    std::shared_ptr<StandinVBE> Editor() const { return editor_; }
    AddInHost& Host() { return host_; }
    QMenu* AddInsMenu() const { return addInsMenu_; }

    // Selects a component in the explorer, which shows it in the code pane.
    bool SelectComponent(const std::string& projectFileName, const std::string& componentName);
    // Opens the Add-In Manager (window-modal) and returns it; nothing when the add-in list
    // cannot be read, which is reported.
    AddInManagerDialog* OpenAddInManager();
    // Connects the add-ins marked for start-up, reporting each failure.
    void LoadStartupAddIns();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FillExplorer();
    void ShowSelected(QTreeWidgetItem* item);

    std::shared_ptr<StandinVBE> editor_;
    AddInHost host_;
    QTreeWidget* explorer_;
    QPlainTextEdit* codePane_;
    QMenu* addInsMenu_;
    bool shutDown_ = false;
};

// A component type as the explorer names it ("Module", "Class Module", ...).
std::string ComponentTypeName(std::int32_t type);

} // namespace quillmark
