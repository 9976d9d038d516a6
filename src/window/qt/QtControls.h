#pragma once

#include "window/Controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace quillmark {

// A form property's colour as Qt paints it.
QColor ToQColor(OleColor colour);

// The control interfaces over Qt's widgets (the list box is a widget of its own, ListBox).

class QtCheckBox final : public ICheckBox {
public:
    explicit QtCheckBox(QCheckBox* box) : box_(box) {}
    bool Value() const override { return box_->isChecked(); }

private:
    QCheckBox* box_;
};

class QtLabel final : public ILabel {
public:
    explicit QtLabel(QLabel* label) : label_(label) {}
    void SetCaption(const std::string& caption) override;
    void SetForeColor(OleColor colour) override;

private:
    QLabel* label_;
};

class QtTextView final : public ITextView {
public:
    explicit QtTextView(QPlainTextEdit* view) : view_(view) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;
    void AppendText(const std::string& text) override;
    void SetCaretToStart() override;
    void SetRightMargin(float twips) override;
    void SetVisible(bool visible) override { view_->setVisible(visible); }
    void SetFocus() override { view_->setFocus(); }

private:
    QPlainTextEdit* view_;
};

class QtClipboard final : public IClipboard {
public:
    void Clear() override;
    void SetText(const std::string& text, const std::string& html) override;
};

} // namespace quillmark
