#include "window/qt/ViewFiller.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <array>

namespace quillmark {
namespace {

// The position just after the count-th line break from from, or the end of the text. Slices
// end after a '\n', so that a CR LF never falls apart into two breaks.
qsizetype AfterLines(const QByteArray& text, qsizetype from, int count)
{
    for (; count > 0; --count) {
        const qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            return text.size();
        from = end + 1;
    }
    return from;
}

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::TouchBegin: return true;
    default: return false;
    }
}

std::array<QObject*, 4> Watched(QPlainTextEdit* view)
{
    return {view, view->viewport(), view->verticalScrollBar(), view->horizontalScrollBar()};
}

} // namespace

void ViewFiller::Append(QPlainTextEdit* view, const QByteArray& text, std::function<void()> afterSlice)
{
    Finish(view);
    auto* filler = new ViewFiller(view, text, std::move(afterSlice));
    filler->InsertUpTo(AfterLines(text, 0, FirstSliceLines));
    if (filler->next_ == text.size())
        delete filler;
}

void ViewFiller::Finish(QPlainTextEdit* view)
{
    if (ViewFiller* filler = Of(view))
        filler->FinishNow();
}

void ViewFiller::Cancel(QPlainTextEdit* view)
{
    delete Of(view);
}

ViewFiller::ViewFiller(QPlainTextEdit* view, QByteArray text, std::function<void()> afterSlice)
    : QObject(view), view_(view), text_(std::move(text)), afterSlice_(std::move(afterSlice))
{
    setObjectName(QStringLiteral("quillmarkViewFiller"));
    for (QObject* watched : Watched(view_))
        watched->installEventFilter(this);
    timer_.start(0, this);
}

ViewFiller* ViewFiller::Of(QPlainTextEdit* view)
{
    return view->findChild<ViewFiller*>(QString(), Qt::FindDirectChildrenOnly);
}

void ViewFiller::InsertUpTo(qsizetype end)
{
    // Without undo, as a new text comes: nobody can have typed since the filling began.
    QTextDocument* document = view_->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromUtf8(QByteArrayView(text_).sliced(next_, end - next_)));
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    next_ = end;
    afterSlice_();
}

void ViewFiller::FinishNow()
{
    InsertUpTo(text_.size());
    timer_.stop();
    for (QObject* watched : Watched(view_))
        watched->removeEventFilter(this);
    // Deleted later, as this may be running in its own event filter; no longer the view's, so
    // that a new filling does not find it.
    setParent(nullptr);
    deleteLater();
}

bool ViewFiller::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (IsInput(event->type()) && timer_.isActive())
        FinishNow();
    return false;
}

void ViewFiller::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId())
        return QObject::timerEvent(event);
    InsertUpTo(AfterLines(text_, next_, SliceLines));
    if (next_ == text_.size())
        FinishNow();
}

} // namespace quillmark
