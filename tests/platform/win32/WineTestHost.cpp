// Plays the VBA editor for Quillmark.dll under Wine and drives it through the real component
// run-time, step by step; exits non-zero naming the first step that failed.
//
//     QuillmarkTestHost check DLL SOURCES [SECONDS]   registration, connection, menu, window
//                                                     (shown SECONDS longer, for a picture),
//                                                     disconnection, removal
//     QuillmarkTestHost bench LINES                   a generated module converted through
//                                                     IDispatch

#include "HostObjects.h"
#include "ModuleGenerator.h"

#include "addin/AddInIdentity.h"
#include "codemodel/AsciiText.h"
#include "codemodel/EntryRange.h"
#include "codemodel/ModHtml.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "platform/editor/FileProjects.h"
#include "platform/win32/SystemRegistry.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/DispatchEditor.h"
#include "platform/win32/com/TypeLibrary.h"

#include "Quillmark_h.h"

#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace quillmark::test {
namespace {

using win32::Narrow;
using win32::Widen;

const std::string MenuCaption = "ｿｰｽをhtmlに変換する";
constexpr bool Office64 = sizeof(void*) == 8;

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

void expect(bool ok, const std::string& what)
{
    if (!ok)
        fail(what);
}

void check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        fail(what + " (0x" + HexDigits(static_cast<std::uint32_t>(hr), 8) + ")");
}

int failures = 0;

// Runs one step and says how it went; a failing step ends the run.
void step(const char* name, const std::function<void()>& body)
{
    try {
        body();
        std::printf("ok      %s\n", name);
    } catch (const std::exception& e) {
        std::printf("FAILED  %s: %s\n", name, e.what());
        ++failures;
    }
    std::fflush(stdout);
    if (failures)
        std::exit(1);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    expect(in.good(), "cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program of the system; returns its exit code, and its output in output.
DWORD run(const std::string& commandLine, std::string* output = nullptr)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        fail("no pipe");
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring command = Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started)
        fail("cannot start " + commandLine);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (output)
        *output = text;
    return code;
}

std::string text(const win32::SystemRegistry& registry, const std::string& key, const std::string& name)
{
    const auto value = registry.GetValue(key, name);
    expect(value && std::holds_alternative<std::string>(*value), "no text value " + name + " in " + key);
    return std::get<std::string>(*value);
}

// The module converted as "変換" does: the editor's objects reached through IDispatch.
std::string convertThroughDispatch(const std::shared_ptr<VBE>& code, bool links)
{
    const auto menus = std::make_shared<HostMenus>();
    const ComPtr<IDispatch> host = MakeHostEditor(code, menus);
    auto& state = ModHtml();
    state = ModHtmlState{};
    state.HostEditor = win32::EditorOf(host.Get());
    state.CurrentProject = state.HostEditor->ActiveVBProject();
    expect(InitKeywords(), "InitKeywords failed");
    GetModData(state.CurrentProject, state.CurrentModuleName, state.ProcCount, state.ModuleLineCount);
    const LineRange range = GetEntryRange("*");
    std::int32_t first = range.FirstLine;
    std::int32_t last = range.LastLine;
    std::string html = ConvertToHtml(state.CurrentProject, "*", first, last, links);
    state = ModHtmlState{};
    return html;
}

void convertExamples(const std::string& examples)
{
    const std::string expected = examples + "\\expected\\Sample\\";
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(Widen(expected + "*.html").c_str(), &found);
    expect(search != INVALID_HANDLE_VALUE, "no reviewed HTML in " + expected);
    int compared = 0;
    do {
        std::string module = Narrow(found.cFileName);
        module.resize(module.size() - 5);
        const bool links = module.ends_with(".links");
        if (links)
            module.resize(module.size() - 6);
        const auto code = OpenEditor({examples + "\\Sample"}, module);
        expect(convertThroughDispatch(code, links) == readFile(expected + Narrow(found.cFileName)),
               "module " + module + " converts to other HTML than " + Narrow(found.cFileName));
        ++compared;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    expect(compared >= 3, "only " + std::to_string(compared) + " modules compared");
}

struct Library {
    std::string path;
    std::string classes = "HKEY_CLASSES_ROOT";
    std::string addInKey = std::string(EditorRegistryRoot) + (Office64 ? "\\Addins64\\" : "\\Addins\\") + ProgIdConnect;
};

void checkRegistered(const Library& dll)
{
    const win32::SystemRegistry registry;
    for (const auto& [progid, clsid] : {std::pair{ProgIdConnect, CLSID_Connect}, {ProgIdCMMTimer, CLSID_CMMTimer}}) {
        const std::string clsidKey = dll.classes + "\\CLSID\\" + clsid.ToString();
        expect(text(registry, dll.classes + "\\" + progid + "\\CLSID", "") == clsid.ToString(),
               "ProgID " + std::string(progid));
        expect(::CompareStringOrdinal(Widen(text(registry, clsidKey + "\\InprocServer32", "")).c_str(), -1,
                                      Widen(dll.path).c_str(), -1, TRUE) == CSTR_EQUAL,
               "InprocServer32 of " + std::string(progid));
        expect(text(registry, clsidKey + "\\InprocServer32", "ThreadingModel") == "Apartment", "ThreadingModel");
    }
    const std::string typeLib = dll.classes + "\\TypeLib\\" + LIBID_Quillmark.ToString() + "\\1.0";
    expect(text(registry, typeLib, "") == "OfficeVBAｿｰｽｺｰﾄﾞhtml変換", "type library help string");
    expect(registry.KeyExists(typeLib + (Office64 ? "\\0\\win64" : "\\0\\win32")), "type library file");
    expect(text(registry, dll.addInKey, "FriendlyName") == "Quillmark", "FriendlyName");
    expect(text(registry, dll.addInKey, "Description") == "ｿｰｽコードをhtml化します", "Description");
    const auto load = registry.GetValue(dll.addInKey, "LoadBehavior");
    expect(load && *load == com::RegistryKeys::Value(std::uint32_t{0}), "LoadBehavior 0");
}

void checkResources(const Library& dll)
{
    HMODULE module = ::LoadLibraryExW(Widen(dll.path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    expect(module, "cannot open " + dll.path);
    for (const auto& [name, iid] : {std::pair{L"_IID_CONNECT", IID_Connect}, {L"_IID_CMMTIMER", IID_CMMTimer}}) {
        HRSRC found = ::FindResourceW(module, name, MAKEINTRESOURCEW(10));
        expect(found && ::SizeofResource(module, found) == 20, "resource " + Narrow(name));
        const auto* bytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
        std::uint32_t length = 0;
        std::memcpy(&length, bytes, 4);
        expect(length == 16 && std::memcmp(bytes + 4, &iid, 16) == 0, "content of " + Narrow(name));
    }
    expect(::FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"), "TYPELIB resource 1");
    ::FreeLibrary(module);

    const std::wstring path = Widen(dll.path);
    std::string version(::GetFileVersionInfoSizeW(path.c_str(), nullptr), '\0');
    expect(!version.empty() && ::GetFileVersionInfoW(path.c_str(), 0, version.size(), version.data()),
           "no version information");
    auto value = [&](const wchar_t* name) {
        void* data = nullptr;
        UINT size = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        expect(::VerQueryValueW(version.data(), query.c_str(), &data, &size), "no " + Narrow(name));
        return Narrow(static_cast<const wchar_t*>(data));
    };
    expect(value(L"FileVersion") == "0.08.0011" && value(L"ProductVersion") == "0.08.0011", "version text");
    expect(value(L"FileDescription") == "VBAのソースコードにｈｔｍｌタグを埋め込む", "FileDescription");
    expect(value(L"ProductName") == "Quillmark" && value(L"InternalName") == "Quillmark", "names");
    expect(value(L"OriginalFilename") == "Quillmark.dll", "OriginalFilename");
    expect(value(L"OLESelfRegister").empty(), "OLESelfRegister");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    expect(::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) &&
               fixed->dwFileVersionMS == 0x00000008 && fixed->dwFileVersionLS == 0x0000000B,
           "file version 0.8.0.11");
}

ComPtr<IDispatch> createConnect()
{
    CLSID clsid{};
    check(::CLSIDFromProgID(L"Quillmark.Connect", &clsid), "no class for Quillmark.Connect");
    ComPtr<IDispatch> connect;
    check(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(connect.GetAddressOf())),
          "cannot create Quillmark.Connect");
    // Its dispatch side describes _Connect, with the ids clients were compiled with.
    ComPtr<ITypeInfo> info;
    check(connect->GetTypeInfo(0, 0, &info), "no type information");
    TYPEATTR* attributes = nullptr;
    check(info->GetTypeAttr(&attributes), "no type attributes");
    const bool isConnect = attributes->guid == win32::SystemGuid(IID_Connect);
    info->ReleaseTypeAttr(attributes);
    expect(isConnect, "the type information is not _Connect's");
    for (const auto& [name, id] : {std::pair{L"FormDisplayed", 0x40030000},
                                   {L"VBInstance", 0x40030001},
                                   {L"MenuHandler", 0x40030004},
                                   {L"Hide", 0x60030000},
                                   {L"Show", 0x60030001},
                                   {L"AddToAddInCommandBar", 0x60030006}}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID found = 0;
        check(connect->GetIDsOfNames(IID_NULL, names, 1, 0, &found), "no member " + Narrow(name));
        expect(found == id, "dispatch id of " + Narrow(name));
    }
    return connect;
}

// Lets the windows of this thread handle what is waiting for them, for at least ms.
void pumpMessages(DWORD ms)
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

// The converter window as a user finds it: the controls by their kind and caption.
struct Form {
    HWND window = nullptr;

    static Form Find()
    {
        Form form{::FindWindowW(L"Quillmark.frmAddIn", L"Quillmark")};
        expect(form.window && ::IsWindowVisible(form.window), "no visible window \"Quillmark\"");
        return form;
    }
    // The n-th child of a class, in tab order.
    HWND Child(const wchar_t* windowClass, int n = 0) const
    {
        HWND child = nullptr;
        for (int i = 0; i <= n; ++i)
            child = ::FindWindowExW(window, child, windowClass, nullptr);
        expect(child, "no control of class " + Narrow(windowClass));
        return child;
    }
    HWND Button(const std::string& caption) const
    {
        HWND button = ::FindWindowExW(window, nullptr, L"Button", Widen(caption).c_str());
        expect(button, "no button " + caption);
        return button;
    }
    // Selects the entry as a click of the user does.
    void Select(HWND list, const std::string& entry) const
    {
        const LRESULT row = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(Widen(entry).c_str()));
        expect(row != LB_ERR, "no entry " + entry);
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
    std::vector<std::string> Entries(HWND list) const
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
    std::string HtmlView() const
    {
        HWND view = Child(L"RICHEDIT50W", 0);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(view)) * 2 + 1, L'\0');
        GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
        return Narrow(text);
    }
};

std::string clipboardText()
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

bool formDisplayed(IDispatch* connect)
{
    DISPPARAMS none{};
    VARIANT result;
    ::VariantInit(&result);
    check(connect->Invoke(0x40030000, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
          "FormDisplayed");
    return V_VT(&result) == VT_BOOL && V_BOOL(&result) == VARIANT_TRUE;
}

BOOL CALLBACK endOnMessageBox(HWND window, LPARAM)
{
    DWORD process = 0;
    wchar_t className[16] = {};
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) || !::GetClassNameW(window, className, 16) ||
        std::wcscmp(className, L"#32770") != 0)
        return TRUE;
    wchar_t title[256] = {};
    wchar_t message[1024] = {};
    ::GetWindowTextW(window, title, 256);
    ::GetDlgItemTextW(window, 0xFFFF, message, 1024);
    std::printf("FAILED  a message box appeared: %s: %s\n", Narrow(title).c_str(), Narrow(message).c_str());
    std::fflush(stdout);
    ::ExitProcess(1);
}

// No step expects a message box: one that appears (a failure the add-in reports) ends the run
// with its text, as does a run that hangs.
void watchForMessageBoxes()
{
    std::thread([] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ::EnumWindows(endOnMessageBox, 0);
        }
        std::printf("FAILED  the run took longer than two minutes\n");
        std::fflush(stdout);
        ::ExitProcess(1);
    }).detach();
}

int checkLibrary(const Library& dll, const std::string& sources, DWORD lingerMs)
{
    watchForMessageBoxes();
    const std::string examples = sources + "\\examples";
    step("every example module converts through IDispatch to its reviewed HTML", [&] { convertExamples(examples); });
    step("an error the editor raises arrives with its number and description", [&] {
        const auto menus = std::make_shared<HostMenus>();
        const auto code = win32::EditorOf(MakeHostEditor(OpenEditor({examples + "\\Sample"}), menus).Get());
        try {
            Obj(Obj(code->ActiveVBProject()).VBComponents()).Item("NoSuchModule");
            fail("no error");
        } catch (const RuntimeError& e) {
            expect(e.Number() == err::SubscriptOutOfRange && e.Description() == ErrorDescription(e.Number()),
                   "error " + std::to_string(e.Number()) + ": " + e.Description());
        }
    });
    // Another add-in of the editor, whose entry registration must leave alone.
    const std::string otherAddIn = dll.addInKey.substr(0, dll.addInKey.rfind('\\')) + "\\Other.Connect";
    step("regsvr32 registers the library", [&] {
        win32::SystemRegistry().SetValue(otherAddIn, "FriendlyName", "Other");
        expect(run("regsvr32.exe /s \"" + dll.path + "\"") == 0, "exit code");
    });
    step("the classes, the type library and the add-in entry are registered", [&] { checkRegistered(dll); });
    step("the library carries its type library, interface ids and version", [&] { checkResources(dll); });
    step("a VBScript client drives Quillmark.CMMTimer by name", [&] {
        // Wine's cscript ends with 0 even when a statement fails: the script says when it got through.
        std::string output;
        run("cscript.exe //nologo \"" + sources + "\\tests\\platform\\win32\\Timer.vbs\"", &output);
        expect(output.find("all answers right") != std::string::npos, "the script said: " + output);
    });

    const auto menus = std::make_shared<HostMenus>();
    ComPtr<IDispatch> editor = MakeHostEditor(OpenEditor({examples + "\\Sample"}, "BookKeeping"), menus);
    ComPtr<IDispatch> connect;
    ComPtr<IDTExtensibility2> addIn;
    step("Quillmark.Connect is created by its ProgID and describes _Connect", [&] {
        connect = createConnect();
        check(connect.As(&addIn), "no IDTExtensibility2");
    });
    step("OnConnection (mode 0) adds the menu button", [&] {
        SAFEARRAY* custom = nullptr;
        check(addIn->OnConnection(editor.Get(), 0, nullptr, &custom), "OnConnection");
        expect(menus->Captions("Add-Ins") == std::vector{MenuCaption}, "no single button " + MenuCaption);
    });
    step("a click on the button opens the window over the host's projects", [&] {
        bool handled = false;
        bool cancelDefault = false;
        expect(menus->Click("Add-Ins", MenuCaption, handled, cancelDefault), "the click reached no handler");
        expect(!handled && !cancelDefault, "the click changed the editor's flags");
        expect(formDisplayed(connect.Get()), "FormDisplayed is not set");
        pumpMessages(200);
        const Form form = Form::Find();
        expect(form.Entries(form.Child(L"ListBox", 2)) == std::vector<std::string>{"Sample"}, "the project list");
        const auto modules = form.Entries(form.Child(L"ListBox", 0));
        expect(std::find(modules.begin(), modules.end(), "CLS Ledger") != modules.end(), "no CLS Ledger");
    });
    step("変換 on a picked module and entry shows the Linux engine's HTML, byte for byte", [&] {
        const Form form = Form::Find();
        form.Select(form.Child(L"ListBox", 0), "CLS Ledger");
        form.Select(form.Child(L"ListBox", 1), "*");
        ::SendMessageW(form.Button("変換"), BM_CLICK, 0, 0);
        expect(form.HtmlView() == readFile(examples + "\\expected\\Sample\\Ledger.html"), "the HTML view differs");
        ::SendMessageW(form.Button("　リンクタグを先頭に生成"), BM_CLICK, 0, 0);
        ::SendMessageW(form.Button("変換"), BM_CLICK, 0, 0);
        expect(form.HtmlView() == readFile(examples + "\\expected\\Sample\\Ledger.links.html"),
               "the HTML view with links differs");
        pumpMessages(lingerMs);
    });
    step("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ puts the HTML view's text on the clipboard", [&] {
        const Form form = Form::Find();
        ::SendMessageW(form.Button("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"), BM_CLICK, 0, 0);
        expect(clipboardText() == readFile(examples + "\\expected\\Sample\\Ledger.links.html"),
               "the clipboard holds other text");
    });
    step("OnDisconnection removes the button and stores DisplayOnConnect", [&] {
        SAFEARRAY* custom = nullptr;
        check(addIn->OnDisconnection(1, &custom), "OnDisconnection");
        expect(menus->Captions("Add-Ins").empty(), "the button is still there");
        const win32::SystemRegistry registry;
        expect(text(registry, "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Quillmark\\Settings",
                    "DisplayOnConnect") == "1",
               "DisplayOnConnect is not 1");
    });
    addIn.Reset();
    connect.Reset();
    ::CoFreeUnusedLibraries();
    step("regsvr32 /u removes every entry and neither class can be created", [&] {
        expect(run("regsvr32.exe /s /u \"" + dll.path + "\"") == 0, "exit code");
        win32::SystemRegistry registry;
        for (const std::string& key : {dll.classes + "\\" + ProgIdConnect, dll.classes + "\\" + ProgIdCMMTimer,
                                       dll.classes + "\\CLSID\\" + CLSID_Connect.ToString(),
                                       dll.classes + "\\CLSID\\" + CLSID_CMMTimer.ToString(),
                                       dll.classes + "\\Interface\\" + IID_Connect.ToString(),
                                       dll.classes + "\\Interface\\" + IID_CMMTimer.ToString(),
                                       dll.classes + "\\TypeLib\\" + LIBID_Quillmark.ToString(), dll.addInKey})
            expect(!registry.KeyExists(key), key + " is left");
        expect(registry.KeyExists(otherAddIn), "another add-in's entry went too");
        registry.DeleteTree(otherAddIn);
        CLSID clsid{};
        expect(FAILED(::CLSIDFromProgID(L"Quillmark.CMMTimer", &clsid)), "Quillmark.CMMTimer still has a class");
        ComPtr<IUnknown> object;
        expect(::CoCreateInstance(win32::SystemGuid(CLSID_Connect), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(object.GetAddressOf())) == REGDB_E_CLASSNOTREG,
               "Connect can still be created");
    });
    return 0;
}

// The path as the system spells it, which is how the library finds its own file.
std::string fullPath(const char* path)
{
    const std::wstring given = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    full.resize(::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return Narrow(full);
}

int bench(std::int32_t lines)
{
    auto module = std::make_shared<MemoryCodeModule>("Generated", ModuleText(bench::GenerateModule(lines)));
    auto project = std::make_shared<MemoryProject>(
        "C:\\Generated.bas", std::vector{std::make_shared<MemoryComponent>(vbext_ct::StdModule, module)});
    auto code = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project,
                                               std::make_shared<MemoryCodePane>(module));
    const auto start = std::chrono::steady_clock::now();
    const std::string html = convertThroughDispatch(code, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d lines through IDispatch (procedure index and conversion with links): %.3f s, %zu bytes\n", lines,
                seconds, html.size());

    // The same module read directly gives the same bytes.
    auto& state = ModHtml();
    state.HostEditor = code;
    state.CurrentProject = project;
    InitKeywords();
    GetModData(project, state.CurrentModuleName, state.ProcCount, state.ModuleLineCount);
    std::int32_t first = 1;
    std::int32_t last = state.ModuleLineCount;
    const bool same = ConvertToHtml(project, "*", first, last, true) == html;
    if (!same)
        std::printf("FAILED  the HTML differs from the direct conversion's\n");
    return same && seconds < 2.0 ? 0 : 1;
}

} // namespace
} // namespace quillmark::test

int main(int argc, char** argv)
{
    using namespace quillmark::test;
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    const std::string command = argc > 1 ? argv[1] : "";
    // A fifth argument keeps the window up that many seconds after the conversion, for a picture.
    if (command == "check" && (argc == 4 || argc == 5))
        return checkLibrary({fullPath(argv[2])}, fullPath(argv[3]), argc == 5 ? std::atoi(argv[4]) * 1000 : 0);
    if (command == "bench" && argc == 3)
        return bench(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: %s check DLL SOURCES [SECONDS] | bench LINES\n", argv[0]);
    return 2;
}
