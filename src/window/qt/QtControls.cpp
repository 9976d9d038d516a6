#include "window/qt/QtControls.h"

#include "base/RuntimeError.h"
#include "window/qt/TextView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillmark {

QColor ToQColor(OleColor colour)
{
    if ((colour & 0x80000000u) == 0)
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    if (colour != vbButtonText) // the one system colour the window uses
        throw RuntimeError(err::InvalidCall);
    return QGuiApplication::palette().color(QPalette::ButtonText);
}

void QtLabel::SetCaption(const std::string& caption)
{
    label_->setText(QString::fromStdString(caption));
}

void QtLabel::SetForeColor(OleColor colour)
{
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    label_->setPalette(palette);
}

std::string QtTextView::Text() const
{
    return ViewText(view_);
}

void QtTextView::SetText(const std::string& text)
{
    SetViewText(view_, text);
}

void QtTextView::AppendText(const std::string& text)
{
    AppendViewText(view_, text);
}

void QtTextView::SetCaretToStart()
{
    quillmark::SetCaretToStart(view_);
}

void QtTextView::SetRightMargin(float twips)
{
    quillmark::SetRightMargin(view_, twips);
}

void QtClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::SetText(const std::string& text, const std::string& html)
{
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    if (!html.empty())
        data->setHtml(QString::fromStdString(html));
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard owns it
}

} // namespace quillmark
