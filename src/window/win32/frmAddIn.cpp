#include "window/win32/frmAddIn.h"

#include "base/RuntimeError.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/TypeLibrary.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>
#include <vector>

namespace quillmark::win32 {
namespace {

constexpr wchar_t ClassName[] = L"Quillmark.frmAddIn";
// A control's id is FirstId plus its place in the design.
constexpr int FirstId = 100;

// A label's or check box's text colour as designed; without one, the button text, as for VB.
COLORREF DesignedTextColor(std::size_t index)
{
    return SystemColor(FormDesign[index].foreColor.value_or(vbButtonText));
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int Pixels(int twips)
{
    static const int dpi = ScreenDpi();
    return ::MulDiv(twips, dpi, 1440);
}

HFONT CreateFormFont(FontFace face)
{
    const FontDesign& font = FontOf(face);
    return ::CreateFontW(-Pixels(FontPoints * 20), 0, 0, 0, FontWeight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         font.fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS,
                         Widen(font.family).c_str());
}

// A 32 x 32 icon in the window's colours: a page with lines of code and a tag.
HICON CreateFormIcon()
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, 32, 32);
    HBITMAP mask = ::CreateBitmap(32, 32, 1, 1, nullptr);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(dc, colour);
    const RECT all{0, 0, 32, 32};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const RECT page{4, 2, 28, 30};
    HBRUSH paper = ::CreateSolidBrush(RGB(224, 224, 224));
    ::FillRect(dc, &page, paper);
    ::DeleteObject(paper);
    HBRUSH ink = ::CreateSolidBrush(RGB(0, 0, 255));
    for (int y = 7; y < 26; y += 4) {
        const RECT line{8, y, y % 8 == 7 ? 24 : 18, y + 2};
        ::FillRect(dc, &line, ink);
    }
    ::DeleteObject(ink);
    ::SelectObject(dc, mask);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(colour);
    return icon;
}

// Tab and the arrow keys move between the controls as in a dialog, although the editor runs the
// message loop: a hook of this thread passes the window's keys through IsDialogMessage.
std::vector<HWND>& NavigableWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

HHOOK& NavigationHook()
{
    static HHOOK hook = nullptr;
    return hook;
}

LRESULT CALLBACK KeyboardNavigation(int code, WPARAM removed, LPARAM lParam)
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && removed == PM_REMOVE && message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
        for (HWND window : NavigableWindows()) {
            if ((message->hwnd == window || ::IsChild(window, message->hwnd)) && ::IsDialogMessageW(window, message)) {
                message->message = WM_NULL;
                break;
            }
        }
    }
    return ::CallNextHookEx(NavigationHook(), code, removed, lParam);
}

// The text views want every key but Tab, which moves on in the tab order as between the other
// controls instead of typing a tab.
constexpr wchar_t TextViewProcedure[] = L"Quillmark.TextViewProcedure";

LRESULT CALLBACK TextViewKeys(HWND view, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(::GetPropW(view, TextViewProcedure));
    const LRESULT result = ::CallWindowProcW(original, view, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        ::RemovePropW(view, TextViewProcedure);
    if (message != WM_GETDLGCODE)
        return result;
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    const bool tab = key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_TAB;
    return result & ~(tab ? DLGC_WANTTAB | DLGC_WANTMESSAGE : DLGC_WANTTAB);
}

void LeaveTabToTheWindow(HWND view)
{
    ::SetPropW(view, TextViewProcedure, reinterpret_cast<HANDLE>(::GetWindowLongPtrW(view, GWLP_WNDPROC)));
    ::SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextViewKeys));
}

void RegisterWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ThisModule();
        windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = ClassName;
        ::RegisterClassExW(&windowClass);
        // The rich edit control's window class comes with its library.
        ::LoadLibraryW(L"msftedit.dll");
        INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&common);
        return true;
    }();
    (void)registered;
}

} // namespace

struct frmAddIn::Controls {
    Controls(frmAddIn& form, const std::array<HWND, control::Count>& h)
        : handles(h), List0(h[control::List0], [&form] { form.code_->List0_Click(); }),
          List1(h[control::List1], [&form] { form.code_->List1_Click(); }),
          List2(h[control::List2], [&form] { form.code_->List2_Click(); }), Check1(h[control::Check1]),
          Check2(h[control::Check2]), Check3(h[control::Check3]),
          lbl4(h[control::lbl4], DesignedTextColor(control::lbl4)),
          lbl5(h[control::lbl5], DesignedTextColor(control::lbl5)), rtb1(h[control::rtb1]), rtb2(h[control::rtb2])
    {}

    ~Controls()
    {
        if (tips)
            ::DestroyWindow(tips);
        for (HWND control : handles)
            ::DestroyWindow(control);
    }

    std::array<HWND, control::Count> handles;
    HWND tips = nullptr;
    Win32ListBox List0, List1, List2;
    Win32CheckBox Check1, Check2, Check3;
    Win32Label lbl4, lbl5;
    Win32TextView rtb1, rtb2;
};

frmAddIn::frmAddIn()
{
    RegisterWindowClass();
    for (const FontFace face : {FontFace::Gothic, FontFace::PGothic})
        fonts_[static_cast<std::size_t>(face)] = CreateFormFont(face);
    icon_ = CreateFormIcon();

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Pixels(FormWidth), Pixels(FormHeight)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    // No owner: the editor stays usable while the window is open.
    window_ =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, Widen(FormTitle).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, ThisModule(), nullptr);
    if (!window_)
        throw RuntimeError(err::ObjectRequired);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmAddIn::WindowProc));
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    clipboard_.SetOwner(window_);

    NavigableWindows().push_back(window_);
    if (!NavigationHook())
        NavigationHook() = ::SetWindowsHookExW(WH_GETMESSAGE, KeyboardNavigation, nullptr, ::GetCurrentThreadId());

    IFormWindow& form = *this;
    code_ = std::make_unique<FormCode>(form, clipboard_, NewControls());
}

frmAddIn::~frmAddIn()
{
    std::erase(NavigableWindows(), window_);
    if (NavigableWindows().empty() && NavigationHook()) {
        ::UnhookWindowsHookEx(NavigationHook());
        NavigationHook() = nullptr;
    }
    controls_.reset();
    ::DestroyWindow(window_); // while the code its events reach is still there
    code_.reset();
    for (HFONT font : fonts_)
        ::DeleteObject(font);
    ::DestroyIcon(icon_);
}

HWND frmAddIn::CreateControl(const ControlDesign& d, int id)
{
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (d.kind) {
    case ControlKind::CommandButton: style |= BS_PUSHBUTTON; break;
    case ControlKind::CheckBox: style |= BS_AUTOCHECKBOX; break;
    case ControlKind::ListBox:
        windowClass = L"LISTBOX";
        style |= WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        break;
    case ControlKind::Label:
        windowClass = L"STATIC";
        style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
        break;
    case ControlKind::TextView:
        windowClass = MSFTEDIT_CLASS;
        style |= WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL |
                 ES_WANTRETURN;
        break;
    }
    if (!d.visible)
        style &= ~WS_VISIBLE;
    HWND control = ::CreateWindowExW(0, windowClass, Widen(d.caption).c_str(), style, Pixels(d.left), Pixels(d.top),
                                     Pixels(d.width), Pixels(d.height), window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[static_cast<std::size_t>(d.font)]), FALSE);
    if (d.kind == ControlKind::TextView) {
        ::SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
        ::SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        LeaveTabToTheWindow(control);
        // Without a colour of its own, the system's window colour.
        ::SendMessageW(control, EM_SETBKGNDCOLOR, d.backColor ? 0 : 1, d.backColor ? SystemColor(*d.backColor) : 0);
    }
    return control;
}

FormControls frmAddIn::NewControls()
{
    controls_.reset();
    std::array<HWND, control::Count> handles{};
    for (std::size_t i = 0; i < FormDesign.size(); ++i)
        handles[i] = CreateControl(FormDesign[i], FirstId + static_cast<int>(i));

    controls_ = std::make_unique<Controls>(*this, handles);
    Controls& c = *controls_;
    for (Win32TextView* view : {&c.rtb1, &c.rtb2})
        view->SetRightMargin(WideRightMargin);

    c.tips = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ThisModule(), nullptr);
    for (std::size_t i = 0; i < FormDesign.size(); ++i) {
        if (!*FormDesign[i].tip)
            continue;
        std::wstring tip = Widen(FormDesign[i].tip);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(handles[i]);
        tool.lpszText = tip.data();
        ::SendMessageW(c.tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return {&c.List0, &c.List1, &c.List2, &c.Check1, &c.Check2, &c.Check3, &c.lbl4, &c.lbl5, &c.rtb1, &c.rtb2};
}

void frmAddIn::ShowWindow()
{
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
}

void frmAddIn::HideWindow()
{
    ::ShowWindow(window_, SW_HIDE);
}

void frmAddIn::CloseWindow()
{
    ::ShowWindow(window_, SW_HIDE);
}

std::string frmAddIn::DecimalSeparator() const
{
    wchar_t separator[8] = {};
    if (!::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8))
        return ".";
    return Narrow(separator);
}

LRESULT CALLBACK frmAddIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<frmAddIn*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
        if (form && form->code_ && form->controls_)
            return form->Handle(message, wParam, lParam);
    } catch (...) {
        // The window's code reports its own failures; nothing may unwind into the system.
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmAddIn::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam) - FirstId, HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC: {
        // Labels and check boxes in their designed colour on the window's; the status lines as set.
        const auto control = reinterpret_cast<HWND>(lParam);
        HDC dc = reinterpret_cast<HDC>(wParam);
        const auto index = static_cast<std::size_t>(::GetDlgCtrlID(control) - FirstId);
        COLORREF text = index < FormDesign.size() ? DesignedTextColor(index) : ::GetSysColor(COLOR_BTNTEXT);
        for (const Win32Label* label : {&controls_->lbl4, &controls_->lbl5})
            if (label->Handle() == control)
                text = label->ForeColor();
        ::SetTextColor(dc, text);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        code_->QueryUnload();
        ::ShowWindow(window_, SW_HIDE);
        return 0;
    default: return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void frmAddIn::Command(int id, int notification)
{
    Controls& c = *controls_;
    if (notification == LBN_SELCHANGE) {
        if (id == control::List0)
            c.List0.SelectionChanged();
        else if (id == control::List1)
            c.List1.SelectionChanged();
        else if (id == control::List2)
            c.List2.SelectionChanged();
        return;
    }
    if (notification != BN_CLICKED)
        return;
    switch (id) {
    case control::cmd1: code_->cmd1_Click(); break;
    case control::cmd2: code_->cmd2_Click(); break;
    case control::cmd3: code_->cmd3_Click(); break;
    case control::cmd4: code_->cmd4_Click(); break;
    case control::cmd5: code_->cmd5_Click(); break;
    case control::Check2: code_->Check2_Click(); break;
    default: break;
    }
}

} // namespace quillmark::win32
