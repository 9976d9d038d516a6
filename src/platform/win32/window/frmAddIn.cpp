#include "platform/win32/window/frmAddIn.h"

#include "codemodel/RuntimeError.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/TypeLibrary.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>
#include <vector>

namespace quillmark::win32 {
namespace {

constexpr wchar_t ClassName[] = L"Quillmark.frmAddIn";
constexpr int ClientWidth = 10710; // twips
constexpr int ClientHeight = 8445;

enum class Kind { Button, List, Label, Check, Text };
enum class Face { Gothic, PGothic };

struct Design {
    const char* caption;
    const char* tip;
    Kind kind;
    Face face;
    int left, top, width, height; // twips
};

// The eighteen controls in tab order; a control's id is FirstId plus its place here.
enum Control {
    cmd1,
    cmd2,
    List1,
    List2,
    lbl2,
    lbl3,
    cmd3,
    cmd4,
    lbl4,
    lbl5,
    Check1,
    Check2,
    Check3,
    rtb1,
    rtb2,
    cmd5,
    List0,
    Label1,
    ControlCount
};
constexpr int FirstId = 100;
constexpr std::array<Design, ControlCount> Designs = {{
    {"変換", "テキストを変換", Kind::Button, Face::PGothic, 6960, 7920, 975, 375},
    {"閉じる", "閉じる", Kind::Button, Face::PGothic, 9720, 7920, 855, 375},
    {"", "クリックで選択", Kind::List, Face::PGothic, 8040, 1350, 2535, 2220},
    {"", "クリックでソースを表示", Kind::List, Face::PGothic, 8040, 3840, 2535, 3840},
    {"モジュールリスト", "", Kind::Label, Face::PGothic, 8040, 1130, 1935, 255},
    {"プロシージャリスト", "", Kind::Label, Face::PGothic, 8040, 3620, 1935, 255},
    {"ｿｰｽｺｰﾄﾞ", "ソースコードを表示", Kind::Button, Face::PGothic, 8160, 7920, 975, 375},
    {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", "テキストをクリップボードへ転送", Kind::Button, Face::PGothic, 5640, 7920, 1095, 375},
    {"モジュール", "", Kind::Label, Face::PGothic, 120, 7800, 5415, 255},
    {"処理", "", Kind::Label, Face::PGothic, 120, 8040, 5415, 375},
    {"　リンクタグを先頭に生成", "", Kind::Check, Face::PGothic, 5400, 50, 2295, 375},
    {" 右端で折り返す", "", Kind::Check, Face::Gothic, 240, 50, 1695, 375},
    {" 追記モード", "", Kind::Check, Face::Gothic, 3720, 50, 1575, 375},
    {"", "", Kind::Text, Face::Gothic, 120, 480, 7815, 7215},
    {"", "", Kind::Text, Face::Gothic, 120, 480, 7815, 7215},
    {"編集", "", Kind::Button, Face::Gothic, 2160, 70, 735, 320},
    {"", "", Kind::List, Face::PGothic, 8040, 480, 2535, 600},
    {"プロジェクトリスト", "", Kind::Label, Face::Gothic, 8040, 240, 2055, 255},
}};

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

HFONT CreateGothicFont(const wchar_t* face, bool fixedPitch)
{
    return ::CreateFontW(-Pixels(9 * 20), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS, face);
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
    Controls(frmAddIn& form, const std::array<HWND, ControlCount>& h)
        : handles(h), List0(h[Control::List0], [&form] { form.code_->List0_Click(); }),
          List1(h[Control::List1], [&form] { form.code_->List1_Click(); }),
          List2(h[Control::List2], [&form] { form.code_->List2_Click(); }), Check1(h[Control::Check1]),
          Check2(h[Control::Check2]), Check3(h[Control::Check3]), lbl4(h[Control::lbl4]), lbl5(h[Control::lbl5]),
          rtb1(h[Control::rtb1]), rtb2(h[Control::rtb2])
    {}

    ~Controls()
    {
        if (tips)
            ::DestroyWindow(tips);
        for (HWND control : handles)
            ::DestroyWindow(control);
    }

    std::array<HWND, ControlCount> handles;
    HWND tips = nullptr;
    Win32ListBox List0, List1, List2;
    Win32CheckBox Check1, Check2, Check3;
    Win32Label lbl4, lbl5;
    Win32TextView rtb1, rtb2;
};

frmAddIn::frmAddIn()
{
    RegisterWindowClass();
    gothic_ = CreateGothicFont(L"ＭＳ ゴシック", true);
    pGothic_ = CreateGothicFont(L"ＭＳ Ｐゴシック", false);
    icon_ = CreateFormIcon();

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Pixels(ClientWidth), Pixels(ClientHeight)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    // No owner: the editor stays usable while the window is open.
    window_ =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, L"Quillmark", style, CW_USEDEFAULT, CW_USEDEFAULT,
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
    ::DeleteObject(gothic_);
    ::DeleteObject(pGothic_);
    ::DestroyIcon(icon_);
}

FormControls frmAddIn::NewControls()
{
    controls_.reset();
    std::array<HWND, ControlCount> handles{};
    for (std::size_t i = 0; i < Designs.size(); ++i) {
        const Design& d = Designs[i];
        const wchar_t* windowClass = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        switch (d.kind) {
        case Kind::Button: style |= BS_PUSHBUTTON; break;
        case Kind::Check: style |= BS_AUTOCHECKBOX; break;
        case Kind::List:
            windowClass = L"LISTBOX";
            style |= WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            break;
        case Kind::Label:
            windowClass = L"STATIC";
            style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
            break;
        case Kind::Text:
            windowClass = MSFTEDIT_CLASS;
            style |= WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                     ES_NOHIDESEL | ES_WANTRETURN;
            // One view is ever visible: the source view, until the HTML view is asked for.
            if (i == rtb1)
                style &= ~WS_VISIBLE;
            break;
        }
        HWND control =
            ::CreateWindowExW(0, windowClass, Widen(d.caption).c_str(), style, Pixels(d.left), Pixels(d.top),
                              Pixels(d.width), Pixels(d.height), window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstId + i)), ThisModule(), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(d.face == Face::Gothic ? gothic_ : pGothic_),
                       FALSE);
        handles[i] = control;
    }
    for (HWND view : {handles[rtb1], handles[rtb2]}) {
        ::SendMessageW(view, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
        ::SendMessageW(view, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        LeaveTabToTheWindow(view);
    }
    ::SendMessageW(handles[rtb1], EM_SETBKGNDCOLOR, 0, RGB(224, 224, 224));
    ::SendMessageW(handles[rtb2], EM_SETBKGNDCOLOR, 1, 0); // the system's window colour

    controls_ = std::make_unique<Controls>(*this, handles);
    Controls& c = *controls_;
    for (Win32TextView* view : {&c.rtb1, &c.rtb2})
        view->SetRightMargin(WideRightMargin);

    c.tips = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ThisModule(), nullptr);
    for (std::size_t i = 0; i < Designs.size(); ++i) {
        if (!*Designs[i].tip)
            continue;
        std::wstring tip = Widen(Designs[i].tip);
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
        // Labels and check boxes are black on the window's colour; the status lines as set.
        const auto control = reinterpret_cast<HWND>(lParam);
        HDC dc = reinterpret_cast<HDC>(wParam);
        COLORREF text = RGB(0, 0, 0);
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
        if (id == List0)
            c.List0.SelectionChanged();
        else if (id == List1)
            c.List1.SelectionChanged();
        else if (id == List2)
            c.List2.SelectionChanged();
        return;
    }
    if (notification != BN_CLICKED)
        return;
    switch (id) {
    case cmd1: code_->cmd1_Click(); break;
    case cmd2: code_->cmd2_Click(); break;
    case cmd3: code_->cmd3_Click(); break;
    case cmd4: code_->cmd4_Click(); break;
    case cmd5: code_->cmd5_Click(); break;
    case Check2: code_->Check2_Click(); break;
    default: break;
    }
}

} // namespace quillmark::win32
