#pragma once

#include <QListWidget>

#include <string>

namespace quillmark {

// A single-selection list that raises Click whenever its selected entry changes, whether the
// user or the code selected it, and before the selecting call returns. Clearing the list
// raises nothing, and the user cannot deselect the selected entry.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const std::string& text);
    // Selected row, -1 when nothing is selected.
    int ListIndex() const;
    // Selects row (runs Click at once when the selection changes).
    void SetListIndex(int row);
    // Text of the selected entry; empty when nothing is selected.
    std::string Text() const;
    std::string ItemText(int row) const;

signals:
    void Click();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
};

} // namespace quillmark
