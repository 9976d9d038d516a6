#include "WindowDriver.h"

#include "platform/win32/WideText.h"

#include <commctrl.h>
#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

namespace quillmark::test {

using win32::Narrow;
using win32::Widen;

void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

void expect(bool ok, const std::string& what)
{
    if (!ok)
        fail(what);
}

void PumpMessages(DWORD ms)
{
    const ULONGLONG until = ::GetTickCount64() + ms;
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    } while (::GetTickCount64() < until);
}

namespace {

HWND FormWindow()
{
    return ::FindWindowW(L"Quillmark.frmAddIn", L"Quillmark");
}

BOOL CALLBACK CollectToolTips(HWND window, LPARAM found)
{
    wchar_t className[32] = {};
    if (::GetClassNameW(window, className, 32) && std::wcscmp(className, TOOLTIPS_CLASSW) == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

} // namespace

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

bool FormVisible()
{
    const HWND window = FormWindow();
    return window && ::IsWindowVisible(window);
}

Form Form::Find()
{
    expect(FormVisible(), "no visible window \"Quillmark\"");
    return Form{FormWindow()};
}

std::vector<HWND> Form::Controls() const
{
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

HWND Form::Child(const wchar_t* windowClass, int n) const
{
    HWND child = nullptr;
    for (int i = 0; i <= n; ++i)
        child = ::FindWindowExW(window, child, windowClass, nullptr);
    expect(child, "no control of class " + Narrow(windowClass));
    return child;
}

HWND Form::Button(const std::string& caption) const
{
    HWND button = ::FindWindowExW(window, nullptr, L"Button", Widen(caption).c_str());
    expect(button, "no button " + caption);
    return button;
}

void Form::Select(HWND list, const std::string& entry) const
{
    const LRESULT row = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    expect(row != LB_ERR, "no entry " + entry);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::vector<std::string> Form::Entries(HWND list) const
{
    std::vector<std::string> entries;
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(
            static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(Narrow(text));
    }
    return entries;
}

std::string Form::HtmlView() const
{
    HWND view = Child(L"RICHEDIT50W", 0);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(view)) * 2 + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

int Form::VisibleTextViews() const
{
    int visible = 0;
    for (HWND view = nullptr; (view = ::FindWindowExW(window, view, L"RICHEDIT50W", nullptr));)
        visible += ::IsWindowVisible(view) ? 1 : 0;
    return visible;
}

std::string Form::Tip(HWND control) const
{
    std::vector<HWND> tips;
    ::EnumThreadWindows(::GetWindowThreadProcessId(window, nullptr), CollectToolTips, reinterpret_cast<LPARAM>(&tips));
    for (HWND tip : tips) {
        if (::GetWindow(tip, GW_OWNER) != window)
            continue;
        const auto count = ::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[1024] = {};
            TOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.lpszText = text;
            if (::SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool)) &&
                tool.uId == reinterpret_cast<UINT_PTR>(control))
                return Narrow(text);
        }
    }
    return {};
}

COLORREF Form::TextColor(HWND control) const
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colour;
}

std::string Form::Status() const
{
    for (HWND label = nullptr; (label = ::FindWindowExW(window, label, L"Static", nullptr));) {
        const std::string text = WindowText(label);
        if (text.starts_with("処理"))
            return text;
    }
    fail("no status line");
}

void Form::PressTab() const
{
    const HWND focus = ::GetFocus();
    expect(focus && ::IsChild(window, focus), "nothing of the window has the focus");
    ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
    ::PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC00F0001);
    PumpMessages(100);
}

std::string ClipboardText()
{
    expect(::OpenClipboard(nullptr), "cannot open the clipboard");
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    std::string text = data ? Narrow(static_cast<const wchar_t*>(::GlobalLock(data))) : std::string();
    if (data)
        ::GlobalUnlock(data);
    ::CloseClipboard();
    expect(data, "no Unicode text on the clipboard");
    return text;
}

std::string ClipboardHtmlFormat()
{
    const UINT format = ::RegisterClipboardFormatW(L"HTML Format");
    expect(::OpenClipboard(nullptr), "cannot open the clipboard");
    HANDLE data = ::GetClipboardData(format);
    std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : std::string();
    if (data)
        ::GlobalUnlock(data);
    ::CloseClipboard();
    expect(data, "no HTML Format on the clipboard");
    return text;
}

namespace {

struct Expectation {
    std::string title;
    std::string text;
    int seen = 0;
    std::set<HWND> answered;
};

std::mutex expectationMutex;
std::optional<Expectation> expectation;

BOOL CALLBACK AnswerMessageBox(HWND window, LPARAM)
{
    DWORD process = 0;
    wchar_t className[16] = {};
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) || !::GetClassNameW(window, className, 16) ||
        std::wcscmp(className, L"#32770") != 0)
        return TRUE;
    wchar_t message[1024] = {};
    ::GetDlgItemTextW(window, 0xFFFF, message, 1024);
    const std::string title = WindowText(window);
    const std::string text = Narrow(message);
    {
        const std::lock_guard lock(expectationMutex);
        if (expectation && expectation->title == title && expectation->text == text) {
            if (expectation->answered.insert(window).second) {
                ++expectation->seen;
                ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return TRUE;
        }
    }
    std::printf("FAILED  a message box appeared: %s: %s\n", title.c_str(), text.c_str());
    std::fflush(stdout);
    ::ExitProcess(1);
}

} // namespace

void WatchForMessageBoxes()
{
    std::thread([] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ::EnumWindows(AnswerMessageBox, 0);
        }
        std::printf("FAILED  the run took longer than two minutes\n");
        std::fflush(stdout);
        ::ExitProcess(1);
    }).detach();
}

ExpectedBox::ExpectedBox(std::string title, std::string text)
{
    const std::lock_guard lock(expectationMutex);
    expectation = Expectation{std::move(title), std::move(text), 0, {}};
}

ExpectedBox::~ExpectedBox()
{
    const std::lock_guard lock(expectationMutex);
    expectation.reset();
}

int ExpectedBox::Seen() const
{
    const std::lock_guard lock(expectationMutex);
    return expectation ? expectation->seen : 0;
}

} // namespace quillmark::test
