#pragma once

#include "programs/standin-editor/AddInHost.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace quillmark {

// The editor's Add-In Manager: the registered add-ins with their description, and for the
// selected one a "Loaded" and a "Load on start-up" box. OK applies the changes.
class AddInManagerDialog : public QDialog {
    Q_OBJECT
public:
    AddInManagerDialog(AddInHost& host, std::vector<AddInEntry> entries, QWidget* parent = nullptr);

    // Selects the add-in with this display name; false when it is not listed.
    bool Select(const std::string& displayName);
    QCheckBox* LoadedBox() const { return loaded_; }
    QCheckBox* StartupBox() const { return startup_; }

    void accept() override;

private:
    struct Row {
        AddInEntry entry;
        bool loaded;
        bool startup;
    };

    void ShowRow();
    void StoreRow();
    void UpdateBehaviourText(int row);

    AddInHost& host_;
    std::vector<Row> rows_;
    QTreeWidget* list_;
    QLabel* description_;
    QCheckBox* loaded_;
    QCheckBox* startup_;
};

} // namespace quillmark
