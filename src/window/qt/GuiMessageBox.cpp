#include "window/qt/GuiMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace quillmark {

void GuiMessageBox::Show(const std::string& text, const std::string& title)
{
    // A window that is still loading is not on screen yet to carry the box.
    QWidget* owner = owner_ && owner_->isVisible() ? owner_.data() : QApplication::activeWindow();
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), body, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
}

} // namespace quillmark
