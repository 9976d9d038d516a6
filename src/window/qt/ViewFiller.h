#pragma once

#include <QBasicTimer>
#include <QByteArray>
#include <QObject>
#include <QPlainTextEdit>

#include <functional>

namespace quillmark {

// Fills a view's document with a long text a slice of lines at a time from the event loop, so
// that the window shows the first lines at once instead of waiting the microseconds a line that
// a document costs to fill. Any input to the view (key, mouse, wheel, scroll bar) first puts
// the rest in, so the user never acts on part of the text.
// Being the view's child, it goes with the view; a destroyed filter leaves the objects it
// watched by itself.
class ViewFiller : public QObject {
    Q_OBJECT
public:
    // Appends UTF-8 text at the end of the view's document: its first lines now, the rest
    // later. afterSlice runs after every slice. A filling the view already had is finished first.
    static void Append(QPlainTextEdit* view, const QByteArray& text, std::function<void()> afterSlice);
    // Puts in at once whatever a filling of the view has left.
    static void Finish(QPlainTextEdit* view);
    // Drops whatever a filling of the view has left.
    static void Cancel(QPlainTextEdit* view);

    static constexpr int FirstSliceLines = 1000;
    static constexpr int SliceLines = 8000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    ViewFiller(QPlainTextEdit* view, QByteArray text, std::function<void()> afterSlice);
    static ViewFiller* Of(QPlainTextEdit* view);
    void InsertUpTo(qsizetype end);
    void FinishNow();

    QPlainTextEdit* view_;
    QByteArray text_;    // decoded a slice at a time: the whole text at once would cost 10 ms more
    qsizetype next_ = 0; // first byte not yet in the document
    std::function<void()> afterSlice_;
    QBasicTimer timer_;
};

} // namespace quillmark
