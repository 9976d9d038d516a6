#pragma once

#include "window/Controls.h"

#include <QListWidget>

#include <string>

namespace quillmark {

// A single-selection list that raises Click whenever its selected entry changes, whether the
// user or the code selected it, and before the selecting call returns. Clearing the list
// raises nothing, and the user cannot deselect the selected entry.
class ListBox : public QListWidget, public IListBox {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const std::string& text) override;
    void Clear() override { clear(); }
    int ListCount() const override { return count(); }
    int ListIndex() const override;
    void SetListIndex(int row) override;
    std::string Text() const override;
    std::string ItemText(int row) const override;

signals:
    void Click();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
};

} // namespace quillmark
