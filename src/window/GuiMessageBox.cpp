#include "window/GuiMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace quillmark {

void GuiMessageBox::Show(const std::string& text, const std::string& title)
{
    QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
}

} // namespace quillmark
