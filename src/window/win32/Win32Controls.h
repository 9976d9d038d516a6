#pragma once

// The control interfaces of the converter window over Windows' own controls: LISTBOX, BUTTON
// (auto check box), STATIC and the RichEdit control of msftedit.dll.

#include "platform/win32/SystemHeaders.h"
#include "window/Controls.h"

#include <functional>

namespace quillmark::win32 {

// The colour a form property holds (0x00BBGGRR, or a system colour's index with the top bit).
COLORREF SystemColor(OleColor colour);

// A single-selection list that runs Click whenever its selected entry changes, whether the user
// or the code selected it, and before the selecting call returns.
class Win32ListBox final : public IListBox {
public:
    Win32ListBox(HWND list, std::function<void()> click) : list_(list), click_(std::move(click)) {}

    void AddItem(const std::string& text) override;
    void Clear() override;
    int ListCount() const override;
    int ListIndex() const override;
    void SetListIndex(int row) override;
    std::string Text() const override;
    std::string ItemText(int row) const override;

    // The user changed the selection (LBN_SELCHANGE).
    void SelectionChanged();

private:
    HWND list_;
    std::function<void()> click_;
    int selected_ = -1;
};

class Win32CheckBox final : public ICheckBox {
public:
    explicit Win32CheckBox(HWND box) : box_(box) {}
    bool Value() const override;

private:
    HWND box_;
};

// The label's text colour is painted by its window (WM_CTLCOLORSTATIC), which asks ForeColor.
class Win32Label final : public ILabel {
public:
    Win32Label(HWND label, COLORREF colour) : label_(label), colour_(colour) {}
    void SetCaption(const std::string& caption) override;
    void SetForeColor(OleColor colour) override;
    COLORREF ForeColor() const { return colour_; }
    HWND Handle() const { return label_; }

private:
    HWND label_;
    COLORREF colour_;
};

// A RichEdit control in plain-text mode; text comes and goes with CR LF between lines.
class Win32TextView final : public ITextView {
public:
    explicit Win32TextView(HWND view) : view_(view) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;
    void AppendText(const std::string& text) override;
    void SetCaretToStart() override;
    // 0 wraps lines at the control's edge; any other margin keeps them whole.
    void SetRightMargin(float twips) override;
    void SetVisible(bool visible) override;
    void SetFocus() override;

private:
    HWND view_;
};

class Win32Clipboard final : public IClipboard {
public:
    explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Clear() override;
    // As Unicode text and, with html, as "HTML Format" too.
    void SetText(const std::string& text, const std::string& html) override;

private:
    HWND owner_;
};

} // namespace quillmark::win32
