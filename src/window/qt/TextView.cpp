#include "window/qt/TextView.h"

#include <QStringEncoder>
#include <QTextCursor>
#include <QTextDocument>

namespace quillmark {

namespace {

// What the window last set on a view, and the document's revision right after.
const char* const LastTextProperty = "quillmarkLastText";
const char* const LastRevisionProperty = "quillmarkLastRevision";

// The text the window last set, while the document still holds it unedited.
QVariant UneditedText(const QPlainTextEdit* view)
{
    if (view->property(LastRevisionProperty).toInt() != view->document()->revision())
        return {};
    return view->property(LastTextProperty);
}

void RememberText(QPlainTextEdit* view, const QByteArray& text)
{
    view->setProperty(LastTextProperty, text);
    view->setProperty(LastRevisionProperty, view->document()->revision());
}

// Adds text at the end of the document, whole before it returns, so that the time the window
// shows for a command covers it. Without an undo history, as a new text comes; the caret goes
// to the start, as a new text leaves it.
void AppendText(QPlainTextEdit* view, const QByteArray& text)
{
    QTextDocument* document = view->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromUtf8(text));
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    SetCaretToStart(view);
}

} // namespace

std::string ViewText(QPlainTextEdit* view)
{
    const QVariant last = UneditedText(view);
    if (last.isValid()) {
        const QByteArray bytes = last.toByteArray();
        return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
    }
    // The raw text keeps every character as typed (toPlainText would turn no-break spaces into
    // spaces); only the paragraph breaks become CR LF. Encoding the lines straight into the
    // result spares QString::replace, which costs as much as the rest together on a long text.
    const QString raw = view->document()->toRawText();
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    QByteArray text(toUtf8.requiredSpace(raw.size()), Qt::Uninitialized); // only the used part is touched
    char* const start = text.data();
    char* out = start;
    QStringView rest(raw);
    for (;;) {
        const qsizetype end = rest.indexOf(QChar::ParagraphSeparator);
        out = toUtf8.appendToBuffer(out, end < 0 ? rest : rest.first(end));
        if (end < 0)
            break;
        *out++ = '\r';
        *out++ = '\n';
        rest = rest.sliced(end + 1);
    }
    return {start, static_cast<std::size_t>(out - start)};
}

void SetViewText(QPlainTextEdit* view, const std::string& text)
{
    // Filling a document costs microseconds a line, and the start-up shows the same module up
    // to three times in a row: a view still holding exactly this text, unedited, keeps its
    // document and only gets the caret at the start that a new text would give it.
    const QByteArray bytes = QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
    const QVariant last = UneditedText(view);
    if (last.isValid() && last.toByteArray() == bytes) {
        SetCaretToStart(view);
        return;
    }
    // QPlainTextEdit::setPlainText would also stamp the cursor's character format on every
    // character, a tenth of the time on a long text; the views never set a format.
    const QByteArray kept(bytes.constData(), bytes.size()); // bytes is the caller's
    view->document()->setPlainText(QString());
    AppendText(view, kept);
    RememberText(view, kept);
}

void AppendViewText(QPlainTextEdit* view, const std::string& text)
{
    // Only the new lines go into the document: refilling it with the old text as well would
    // cost the old text's length again.
    const QByteArray whole = QByteArray::fromStdString(ViewText(view) + text);
    AppendText(view, QByteArray::fromStdString(text));
    RememberText(view, whole);
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
