#include "window/qt/ListBox.h"

namespace quillmark {

ListBox::ListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (ListIndex() >= 0)
            emit Click();
    });
}

void ListBox::AddItem(const std::string& text)
{
    addItem(QString::fromStdString(text));
}

int ListBox::ListIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::SetListIndex(int row)
{
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

std::string ListBox::Text() const
{
    return ItemText(ListIndex());
}

std::string ListBox::ItemText(int row) const
{
    const QListWidgetItem* entry = item(row);
    return entry ? entry->text().toStdString() : std::string();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // A list box always keeps one entry selected once one is: Ctrl+click must not clear it.
    QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

} // namespace quillmark
