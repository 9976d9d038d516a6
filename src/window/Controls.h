#pragma once

// The controls of the converter window as its code sees them, whatever toolkit draws them.

#include <cstdint>
#include <string>

namespace quillmark {

// A colour as a form's properties hold it: 0x00BBGGRR, or with the top bit set the index of a
// system colour in the low byte.
using OleColor = std::uint32_t;
inline constexpr OleColor vbBlue = 0xFF0000;
inline constexpr OleColor vbRed = 0x0000FF;
inline constexpr OleColor vbButtonText = 0x80000012;

// Right margin in twips: 0 wraps at the view's edge; the wide margin keeps lines whole.
inline constexpr float WideRightMargin = 100000.0f;

// A single-selection list. Selecting an entry, by the user or by SetListIndex, runs the
// list's Click handler before the selecting call returns, but only when the selection changes.
class IListBox {
public:
    virtual ~IListBox() = default;
    virtual void AddItem(const std::string& text) = 0;
    virtual void Clear() = 0; // runs no handler
    virtual int ListCount() const = 0;
    virtual int ListIndex() const = 0; // -1 when nothing is selected
    virtual void SetListIndex(int row) = 0;
    virtual std::string Text() const = 0; // of the selected entry; empty when none is
    virtual std::string ItemText(int row) const = 0;
};

class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual bool Value() const = 0; // checked
};

class ILabel {
public:
    virtual ~ILabel() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetForeColor(OleColor colour) = 0;
};

// A rich-text box that holds plain text, CR LF between lines.
class ITextView {
public:
    virtual ~ITextView() = default;
    virtual std::string Text() const = 0; // all of it, with the user's edits
    virtual void SetText(const std::string& text) = 0;
    // As SetText(Text() + text).
    virtual void AppendText(const std::string& text) = 0;
    virtual void SetCaretToStart() = 0;
    virtual void SetRightMargin(float twips) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetFocus() = 0;
};

class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual void Clear() = 0;
    // Plain text and, unless html is empty, the same as an HTML fragment: two flavours of one
    // content, set together, so that each target pastes the one it takes.
    virtual void SetText(const std::string& text, const std::string& html) = 0;
};

// The controls the window's code reads and writes; none is ever null.
struct FormControls {
    IListBox* List0 = nullptr;   // projects
    IListBox* List1 = nullptr;   // modules
    IListBox* List2 = nullptr;   // procedures
    ICheckBox* Check1 = nullptr; // link tags first
    ICheckBox* Check2 = nullptr; // wrap at the right edge
    ICheckBox* Check3 = nullptr; // append mode
    ILabel* lbl4 = nullptr;      // module caption
    ILabel* lbl5 = nullptr;      // status line
    ITextView* rtb1 = nullptr;   // HTML view
    ITextView* rtb2 = nullptr;   // source view
};

// The toolkit's window around the controls.
class IFormWindow {
public:
    virtual ~IFormWindow() = default;
    // Design-time controls in place of those that a closed window leaves behind.
    virtual FormControls NewControls() = 0;
    // Modeless, in front and active.
    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    // Closes the window. A close that the user asks for (the close box) calls
    // FormCode::QueryUnload before the window goes.
    virtual void CloseWindow() = 0;
    // The decimal separator of the user's locale, as the toolkit knows it now.
    virtual std::string DecimalSeparator() const = 0;
};

} // namespace quillmark
