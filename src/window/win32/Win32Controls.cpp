#include "window/win32/Win32Controls.h"

#include "base/RuntimeError.h"
#include "platform/win32/WideText.h"
#include "window/HtmlClipboardFormat.h"

#include <richedit.h>

#include <cstring>
#include <optional>

namespace quillmark::win32 {
namespace {

constexpr UINT Utf16 = 1200;

// Opens the clipboard for owner, empties it, and closes it again when it goes.
class OpenClipboard {
public:
    explicit OpenClipboard(HWND owner)
    {
        if (!::OpenClipboard(owner) || !::EmptyClipboard())
            throw RuntimeError(521, "クリップボードを開けません。");
    }
    ~OpenClipboard() { ::CloseClipboard(); }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
};

// Memory for one clipboard flavour, freed unless the clipboard takes it.
class GlobalText {
public:
    GlobalText(const void* bytes, std::size_t size) : memory_(::GlobalAlloc(GMEM_MOVEABLE, size))
    {
        if (!memory_)
            throw RuntimeError(7);
        std::memcpy(::GlobalLock(memory_), bytes, size);
        ::GlobalUnlock(memory_);
    }
    ~GlobalText()
    {
        if (memory_)
            ::GlobalFree(memory_);
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;

    // Onto the open clipboard as format.
    void HandTo(UINT format)
    {
        if (!format || !::SetClipboardData(format, memory_))
            throw RuntimeError(521, "クリップボードに書き込めません。");
        memory_ = nullptr;
    }

private:
    HGLOBAL memory_;
};

} // namespace

COLORREF SystemColor(OleColor colour)
{
    return (colour & 0x80000000u) ? ::GetSysColor(static_cast<int>(colour & 0xFF)) : static_cast<COLORREF>(colour);
}

void Win32ListBox::AddItem(const std::string& text)
{
    ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32ListBox::Clear()
{
    ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    selected_ = -1;
}

int Win32ListBox::ListCount() const
{
    return static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0));
}

int Win32ListBox::ListIndex() const
{
    const LRESULT index = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::SetListIndex(int row)
{
    if (row < -1 || row >= ListCount())
        throw RuntimeError(380, "プロパティの値が不正です。");
    ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SelectionChanged();
}

std::string Win32ListBox::Text() const
{
    const int row = ListIndex();
    return row < 0 ? std::string() : ItemText(row);
}

std::string Win32ListBox::ItemText(int row) const
{
    const LRESULT length = ::SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR)
        throw RuntimeError(381, "プロパティ配列のインデックスが不正です。");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void Win32ListBox::SelectionChanged()
{
    const int now = ListIndex();
    if (now == selected_)
        return;
    selected_ = now;
    click_();
}

bool Win32CheckBox::Value() const
{
    return ::SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Label::SetCaption(const std::string& caption)
{
    ::SetWindowTextW(label_, Widen(caption).c_str());
}

void Win32Label::SetForeColor(OleColor colour)
{
    colour_ = SystemColor(colour);
    ::InvalidateRect(label_, nullptr, TRUE);
}

std::string Win32TextView::Text() const
{
    GETTEXTLENGTHEX measure{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, Utf16};
    const auto length =
        static_cast<std::size_t>(::SendMessageW(view_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0));
    std::wstring text(length + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, Utf16, nullptr, nullptr};
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(view_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void Win32TextView::SetText(const std::string& text)
{
    SETTEXTEX set{ST_DEFAULT, Utf16};
    ::SendMessageW(view_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(Widen(text).c_str()));
    // New text is shown from its first line, as a text box shows it.
    SetCaretToStart();
}

void Win32TextView::AppendText(const std::string& text)
{
    CHARRANGE end{-1, -1};
    ::SendMessageW(view_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    SETTEXTEX set{ST_SELECTION, Utf16};
    ::SendMessageW(view_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32TextView::SetCaretToStart()
{
    ::SendMessageW(view_, EM_SETSEL, 0, 0);
    ::SendMessageW(view_, EM_SCROLLCARET, 0, 0);
}

void Win32TextView::SetRightMargin(float twips)
{
    // Line width 0 wraps at the edge; 1 (with no target device) does not wrap.
    ::SendMessageW(view_, EM_SETTARGETDEVICE, 0, twips == 0.0f ? 0 : 1);
}

void Win32TextView::SetVisible(bool visible)
{
    ::ShowWindow(view_, visible ? SW_SHOW : SW_HIDE);
}

void Win32TextView::SetFocus()
{
    ::SetFocus(view_);
}

void Win32Clipboard::Clear()
{
    const OpenClipboard open(owner_);
}

void Win32Clipboard::SetText(const std::string& text, const std::string& html)
{
    const std::wstring wide = Widen(text);
    GlobalText unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    std::optional<GlobalText> formatted;
    UINT htmlFormat = 0;
    if (!html.empty()) {
        const std::string cfHtml = HtmlClipboardFormat(html);
        formatted.emplace(cfHtml.c_str(), cfHtml.size() + 1);
        htmlFormat = ::RegisterClipboardFormatW(L"HTML Format");
    }
    const OpenClipboard open(owner_);
    unicode.HandTo(CF_UNICODETEXT);
    if (formatted)
        formatted->HandTo(htmlFormat);
}

} // namespace quillmark::win32
