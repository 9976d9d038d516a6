#pragma once

#include "window/Controls.h"

#include <QPlainTextEdit>

#include <string>

namespace quillmark {

// The operations the window uses on its two text views. A view's text reads and writes with
// CR LF between lines, as the converter joins them.

std::string ViewText(QPlainTextEdit* view);
void SetViewText(QPlainTextEdit* view, const std::string& text);
// As SetViewText(view, ViewText(view) + text), without filling the view with its own text again.
void AppendViewText(QPlainTextEdit* view, const std::string& text);
void SetCaretToStart(QPlainTextEdit* view);

// Right margin in twips: 0 wraps at the view's edge; WideRightMargin keeps lines whole.
void SetRightMargin(QPlainTextEdit* view, float twips);

} // namespace quillmark
