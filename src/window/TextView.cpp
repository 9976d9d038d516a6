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

namespace {

// What the window last set on a view, and the document's revision right after.
const char* const LastTextProperty = "quillmarkLastText";
const char* const LastRevisionProperty = "quillmarkLastRevision";

} // namespace

void SetViewText(QPlainTextEdit* view, const std::string& text)
{
    // Filling a document costs microseconds a line, and the start-up shows the same module up
    // to three times in a row: a view still holding exactly this text, unedited, keeps its
    // document and only gets the caret at the start that a new text would give it.
    const QByteArray bytes = QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
    const QVariant last = view->property(LastTextProperty);
    if (last.isValid() && view->property(LastRevisionProperty).toInt() == view->document()->revision() &&
        last.toByteArray() == bytes) {
        SetCaretToStart(view);
        return;
    }
    view->setPlainText(QString::fromStdString(text));
    view->setProperty(LastTextProperty, QByteArray(bytes.constData(), bytes.size()));
    view->setProperty(LastRevisionProperty, view->document()->revision());
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
