#include "window/TextView.h"

#include <QTextCursor>
#include <QTextDocument>

namespace quillmark {

std::string ViewText(const QPlainTextEdit* view)
{
    // The raw text keeps every character as set (toPlainText would turn no-break spaces into
    // spaces); only the paragraph breaks become CR LF.
    QString text = view->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text.toStdString();
}

void SetViewText(QPlainTextEdit* view, const std::string& text)
{
    view->setPlainText(QString::fromStdString(text));
}

void SetCaretToStart(QPlainTextEdit* view)
{
    view->moveCursor(QTextCursor::Start);
}

void SetRightMargin(QPlainTextEdit* view, float twips)
{
    view->setLineWrapMode(twips == 0.0f ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

} // namespace quillmark
