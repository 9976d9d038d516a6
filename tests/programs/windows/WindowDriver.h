#pragma once

// The converter window and the message boxes of Quillmark.dll as a user meets them under Wine:
// found by their class and caption, driven by the messages a user's clicks and keys send.

#include "platform/win32/SystemHeaders.h"

#include <string>
#include <vector>

namespace quillmark::test {

[[noreturn]] void fail(const std::string& what);
void expect(bool ok, const std::string& what);

// Lets the windows of this thread handle what is waiting for them, for at least ms.
void PumpMessages(DWORD ms);

std::string WindowText(HWND window);

// The converter window, when it is open and visible.
bool FormVisible();

struct Form {
    HWND window = nullptr;

    // Fails when the window is not open and visible.
    static Form Find();
    // Every control, in tab order.
    std::vector<HWND> Controls() const;
    // The n-th child of a class, in tab order.
    HWND Child(const wchar_t* windowClass, int n = 0) const;
    HWND Button(const std::string& caption) const;
    // Selects the entry as a click of the user does.
    void Select(HWND list, const std::string& entry) const;
    std::vector<std::string> Entries(HWND list) const;
    std::string HtmlView() const;
    // The text views that can be seen.
    int VisibleTextViews() const;
    // What the control's tool tip says; empty when it has none.
    std::string Tip(HWND control) const;
    // The colour in which the window has a label or check box paint its text.
    COLORREF TextColor(HWND control) const;
    // The status line: the label whose text begins with "処理".
    std::string Status() const;
    // Tab pressed in the control that has the focus, as the keyboard sends it.
    void PressTab() const;
};

std::string ClipboardText();
// The "HTML Format" flavour whole, its header of offsets included.
std::string ClipboardHtmlFormat();

// No message box is expected: one that appears (a failure the add-in reports) ends the run
// with its text, as does a run that hangs for two minutes. While an ExpectedBox lives, a box
// with its title and text is answered with OK and counted instead.
void WatchForMessageBoxes();

class ExpectedBox {
public:
    ExpectedBox(std::string title, std::string text);
    ~ExpectedBox();
    ExpectedBox(const ExpectedBox&) = delete;
    ExpectedBox& operator=(const ExpectedBox&) = delete;

    // How many such boxes appeared and were answered.
    int Seen() const;
};

} // namespace quillmark::test
