// Plays the VBA editor for Quillmark.dll under Wine and drives it through the real component
// run-time, step by step; exits non-zero naming the first step that failed.
//
//     QuillmarkTestHost check DLL SOURCES SHARED [SECONDS]
//         registration, connection in every mode, menu, window (shown SECONDS longer, for a
//         picture), disconnection, removal; SHARED is the folder of shared Office documents,
//         whose steps are skipped when it is absent
//     QuillmarkTestHost bench LINES
//         a generated module converted through IDispatch

#include "HostObjects.h"
#include "ModuleGenerator.h"
#include "WindowDriver.h"

#include "addin/AddInIdentity.h"
#include "addin/win32/DispatchEditor.h"
#include "base/AsciiText.h"
#include "base/PathText.h"
#include "modhtml/ModHtml.h"
#include "modhtml/SharedSetProcedures.h"
#include "platform/win32/SystemRegistry.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/TypeLibrary.h"
#include "sources/FileProjects.h"
#include "window/FormDesign.h"

#include "Quillmark_h.h"

#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace quillmark::test {
namespace {

using namespace std::string_literals;

using win32::Narrow;
using win32::Widen;

const std::string MenuCaption = "ｿｰｽをhtmlに変換する";
const std::string SettingsKey = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Quillmark\\Settings";
constexpr bool Office64 = sizeof(void*) == 8;

void check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        fail(what + " (0x" + HexDigits(static_cast<std::uint32_t>(hr), 8) + ")");
}

// A step that cannot run here, and says why.
class Skipped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int failures = 0;

// Runs one step and says how it went; a failing step ends the run.
void step(const char* name, const std::function<void()>& body)
{
    try {
        body();
        std::printf("ok      %s\n", name);
    } catch (const Skipped& e) {
        std::printf("skipped %s: %s\n", name, e.what());
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
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
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
        if (module.find(".inline-") != std::string::npos)
            continue; // styled inline: the clipboard's, checked with it
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

// The library's class objects, called as the run-time calls them: an unknown class and
// aggregation are refused, and the library may unload only when no object or lock is alive.
void checkClassObjects(const Library& dll)
{
    HMODULE module = ::LoadLibraryW(Widen(dll.path).c_str());
    expect(module, "cannot load " + dll.path);
    const auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")));
    const auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    expect(getClassObject && canUnloadNow, "no DllGetClassObject or DllCanUnloadNow");
    const auto factoryOf = [&](const com::Guid& clsid) {
        ComPtr<IClassFactory> factory;
        check(getClassObject(win32::SystemGuid(clsid), IID_PPV_ARGS(&factory)), "the class object");
        return factory;
    };

    void* object = &object;
    expect(getClassObject(win32::SystemGuid(IID_CMMTimer), IID_IClassFactory, &object) == CLASS_E_CLASSNOTAVAILABLE &&
               !object,
           "a class object for an interface id");
    expect(canUnloadNow() == S_OK, "the library stays with nothing alive");
    {
        const ComPtr<IClassFactory> factory = factoryOf(CLSID_CMMTimer);
        expect(canUnloadNow() == S_FALSE, "the library may go while its class object lives");
        expect(factory->CreateInstance(factory.Get(), IID_IUnknown, &object) == CLASS_E_NOAGGREGATION && !object,
               "aggregation is not refused");
        expect(factory->CreateInstance(nullptr, IID_IClassFactory, &object) == E_NOINTERFACE && !object,
               "a timer answers for IClassFactory");
        ComPtr<IDispatch> timer;
        check(factory->CreateInstance(nullptr, IID_PPV_ARGS(&timer)), "the timer");
        check(factory->LockServer(TRUE), "LockServer");
    }
    expect(canUnloadNow() == S_FALSE, "the library may go while it is locked");
    check(factoryOf(CLSID_Connect)->LockServer(FALSE), "LockServer");
    expect(canUnloadNow() == S_OK, "the library stays when every object and lock is gone");
    ::FreeLibrary(module);
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

// The window class each kind of control is drawn by.
const wchar_t* windowClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::CommandButton:
    case ControlKind::CheckBox: return L"Button";
    case ControlKind::ListBox: return L"ListBox";
    case ControlKind::Label: return L"Static";
    case ControlKind::TextView: return L"RICHEDIT50W";
    }
    return L"";
}

// The open window as its design has it, to the pixel at the screen's DPI: the client area, and
// each control's class, place, font, tip, tab stop, visibility and text colour, in tab order;
// the captions but those of the module and status lines, which loading has written.
void checkDesign(const Form& form)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const auto pixels = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };
    RECT client{};
    ::GetClientRect(form.window, &client);
    expect(client.right == pixels(FormWidth) && client.bottom == pixels(FormHeight), "the client area");
    const std::vector<HWND> controls = form.Controls();
    expect(controls.size() == FormDesign.size(), std::to_string(controls.size()) + " controls");
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDesign& d = FormDesign[i];
        const HWND control = controls[i];
        const auto is = [&](bool ok, const std::string& what) { expect(ok, d.name + ": "s + what); };
        wchar_t className[32] = {};
        ::GetClassNameW(control, className, 32);
        is(::CompareStringOrdinal(className, -1, windowClassOf(d.kind), -1, TRUE) == CSTR_EQUAL,
           "of class " + Narrow(className));
        RECT place{};
        ::GetWindowRect(control, &place);
        ::MapWindowPoints(nullptr, form.window, reinterpret_cast<POINT*>(&place), 2);
        is(place.left == pixels(d.left) && place.top == pixels(d.top) && place.right - place.left == pixels(d.width) &&
               place.bottom - place.top == pixels(d.height),
           "at another place");
        const FontDesign& designed = FontOf(d.font);
        std::string face;
        bool fontAsDesigned = false;
        if (d.kind == ControlKind::TextView) {
            // A rich edit control keeps no font handle; it answers with its default character format.
            CHARFORMAT2W format{};
            format.cbSize = sizeof format;
            ::SendMessageW(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
            face = Narrow(format.szFaceName);
            fontAsDesigned = format.yHeight == FontPoints * 20 && format.wWeight == FontWeight &&
                             format.bCharSet == SHIFTJIS_CHARSET;
        } else {
            LOGFONTW font{};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            face = Narrow(font.lfFaceName);
            fontAsDesigned = font.lfHeight == -pixels(FontPoints * 20) && font.lfWeight == FontWeight &&
                             font.lfCharSet == SHIFTJIS_CHARSET;
        }
        is(face == designed.family && fontAsDesigned, "in the font " + face);
        is(form.Tip(control) == d.tip, "with the tip " + form.Tip(control));
        const auto style = ::GetWindowLongW(control, GWL_STYLE);
        is(((style & WS_TABSTOP) != 0) == (d.kind != ControlKind::Label), "a tab stop or not as its kind");
        is(((style & WS_VISIBLE) != 0) == d.visible, d.visible ? "hidden" : "visible");
        if (i == control::lbl4 || i == control::lbl5)
            continue;
        if (d.kind != ControlKind::ListBox && d.kind != ControlKind::TextView)
            is(WindowText(control) == d.caption, "captioned " + WindowText(control));
        if (d.foreColor)
            is(form.TextColor(control) == static_cast<COLORREF>(*d.foreColor), "in another colour");
    }
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

void storeDisplayOnConnect(const std::string& value)
{
    win32::SystemRegistry().SetValue(SettingsKey, "DisplayOnConnect", value);
}

// One connection of Quillmark.Connect to a host editor, made as the editor makes it.
struct Connection {
    std::shared_ptr<HostMenus> menus = std::make_shared<HostMenus>();
    ComPtr<IDispatch> editor;
    ComPtr<IDispatch> connect = createConnect();
    ComPtr<IDTExtensibility2> addIn;

    explicit Connection(std::shared_ptr<VBE> code) : editor(MakeHostEditor(std::move(code), menus))
    {
        check(connect.As(&addIn), "no IDTExtensibility2");
    }
    void Connect(long mode)
    {
        SAFEARRAY* custom = nullptr;
        check(addIn->OnConnection(editor.Get(), mode, nullptr, &custom), "OnConnection");
        PumpMessages(100);
    }
    void StartupComplete()
    {
        SAFEARRAY* custom = nullptr;
        check(addIn->OnStartupComplete(&custom), "OnStartupComplete");
        PumpMessages(100);
    }
    void Disconnect()
    {
        SAFEARRAY* custom = nullptr;
        check(addIn->OnDisconnection(1, &custom), "OnDisconnection");
        expect(menus->Captions("Add-Ins").empty(), "the button is still there");
    }
    std::vector<std::string> Buttons() const { return menus->Captions("Add-Ins"); }
    // The window opened by the menu button, as the user opens it.
    Form ClickButton()
    {
        bool handled = false;
        bool cancelDefault = false;
        expect(menus->Click("Add-Ins", MenuCaption, handled, cancelDefault), "the click reached no handler");
        expect(!handled && !cancelDefault, "the click changed the editor's flags");
        PumpMessages(200);
        return Form::Find();
    }
};

// An editor over one module of the given text, in front.
std::shared_ptr<MemoryEditor> editorOver(const std::string& fileName, const std::string& text,
                                         const std::string& moduleName = "Module1")
{
    auto module = std::make_shared<MemoryCodeModule>(moduleName, ModuleText(text));
    auto project = std::make_shared<MemoryProject>(
        fileName, std::vector{std::make_shared<MemoryComponent>(vbext_ct::StdModule, module)});
    return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project,
                                          std::make_shared<MemoryCodePane>(module));
}

// Files copied into a folder of their own in the temporary folder; all of it goes with it.
class TemporaryCopies {
public:
    TemporaryCopies()
    {
        std::wstring temp(MAX_PATH + 1, L'\0');
        temp.resize(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
        folder_ = temp + L"quillmark-" + std::to_wstring(::GetCurrentProcessId());
        expect(::CreateDirectoryW(folder_.c_str(), nullptr), "cannot make a temporary folder");
    }
    ~TemporaryCopies()
    {
        for (const std::wstring& file : files_)
            ::DeleteFileW(file.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    TemporaryCopies(const TemporaryCopies&) = delete;
    TemporaryCopies& operator=(const TemporaryCopies&) = delete;

    // The copy's path, as the editor would give it.
    std::string Copy(const std::string& source, const std::string& name)
    {
        files_.push_back(folder_ + L"\\" + Widen(name));
        expect(::CopyFileW(Widen(source).c_str(), files_.back().c_str(), TRUE), "cannot copy " + source);
        return Narrow(files_.back());
    }

private:
    std::wstring folder_;
    std::vector<std::wstring> files_;
};

// The user's decimal separator, set for as long as this lives.
class UserDecimalSeparator {
public:
    explicit UserDecimalSeparator(const wchar_t* separator)
    {
        ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old_, 8);
        expect(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator), "cannot set the decimal separator");
    }
    ~UserDecimalSeparator() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old_); }
    UserDecimalSeparator(const UserDecimalSeparator&) = delete;
    UserDecimalSeparator& operator=(const UserDecimalSeparator&) = delete;

private:
    wchar_t old_[8] = {};
};

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

// The keys that registration writes, which removal must take away.
std::vector<std::string> registeredKeys(const Library& dll)
{
    return {dll.classes + "\\" + ProgIdConnect,
            dll.classes + "\\" + ProgIdCMMTimer,
            dll.classes + "\\CLSID\\" + CLSID_Connect.ToString(),
            dll.classes + "\\CLSID\\" + CLSID_CMMTimer.ToString(),
            dll.classes + "\\Interface\\" + IID_Connect.ToString(),
            dll.classes + "\\Interface\\" + IID_CMMTimer.ToString(),
            dll.classes + "\\TypeLib\\" + LIBID_Quillmark.ToString(),
            dll.addInKey};
}

void checkRemoved(const Library& dll)
{
    const win32::SystemRegistry registry;
    for (const std::string& key : registeredKeys(dll))
        expect(!registry.KeyExists(key), key + " is left");
}

int checkLibrary(const Library& dll, const std::string& sources, const std::string& shared, DWORD lingerMs)
{
    WatchForMessageBoxes();
    const std::string examples = sources + "\\examples";
    step("every example module converts through IDispatch to its reviewed HTML", [&] { convertExamples(examples); });
    step("control characters in the editor's code reach the HTML as U+FFFD", [&] {
        const std::string odd = "    s = \"a\0b\001c\033d\f\"\t' a tab stays"s;
        const std::string html =
            convertThroughDispatch(editorOver("C:\\Odd.bas", "Sub Odd()\r\n" + odd + "\r\nEnd Sub"), false);
        for (const char c : html)
            expect(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n',
                   "control character " + std::to_string(static_cast<int>(c)) + " in the HTML");
        std::size_t replaced = 0;
        for (auto at = html.find("\xEF\xBF\xBD"); at != std::string::npos; at = html.find("\xEF\xBF\xBD", at + 1))
            ++replaced;
        expect(replaced == 4 && html.find('\t') != std::string::npos, "other text than expected: " + html);
    });
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
    // The keys above the add-in list that registration creates in a fresh prefix, and removes.
    const std::string editorKeys = "HKEY_CURRENT_USER\\Software\\Microsoft\\VBA";
    const bool editorKeysBefore = win32::SystemRegistry().KeyExists(editorKeys);
    step("regsvr32 registers the library",
         [&] { expect(run("regsvr32.exe /s \"" + dll.path + "\"") == 0, "exit code"); });
    step("the classes, the type library and the add-in entry are registered", [&] { checkRegistered(dll); });
    step("the library carries its type library, interface ids and version", [&] { checkResources(dll); });
    step("a VBScript client drives Quillmark.CMMTimer by name", [&] {
        // Wine's cscript ends with 0 even when a statement fails: the script says when it got through.
        std::string output;
        run("cscript.exe //nologo \"" + sources + "\\tests\\programs\\windows\\Timer.vbs\"", &output);
        expect(output.find("all answers right") != std::string::npos, "the script said: " + output);
    });

    step("the class objects refuse unknown classes and aggregation, and hold the library while used",
         [&] { checkClassObjects(dll); });
    std::optional<Connection> session;
    step("Quillmark.Connect is created by its ProgID and describes _Connect",
         [&] { session.emplace(OpenEditor({examples + "\\Sample"}, "BookKeeping")); });
    step("OnConnection (mode 0) adds the menu button", [&] {
        session->Connect(0);
        expect(session->Buttons() == std::vector{MenuCaption}, "no single button " + MenuCaption);
    });
    step("a click on the button opens the window over the host's projects", [&] {
        const Form form = session->ClickButton();
        expect(formDisplayed(session->connect.Get()), "FormDisplayed is not set");
        expect(form.Entries(form.Child(L"ListBox", 2)) == std::vector<std::string>{"Sample"}, "the project list");
        const auto modules = form.Entries(form.Child(L"ListBox", 0));
        expect(std::find(modules.begin(), modules.end(), "CLS Ledger") != modules.end(), "no CLS Ledger");
        expect(form.VisibleTextViews() == 1, "both text views can be seen");
    });
    step("the window and its eighteen controls are as designed", [&] { checkDesign(Form::Find()); });
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
        PumpMessages(lingerMs);
    });
    step("Tab in either text view moves on to 編集 and types nothing", [&] {
        const Form form = Form::Find();
        const HWND edit = form.Button("編集");
        // 編集 gives the HTML view the focus, ｿｰｽｺｰﾄﾞ the source view.
        for (const char* button : {"編集", "ｿｰｽｺｰﾄﾞ"}) {
            ::SendMessageW(form.Button(button), BM_CLICK, 0, 0);
            const HWND view = ::GetFocus();
            expect(view && view != edit && form.VisibleTextViews() == 1, "no text view has the focus");
            const int length = ::GetWindowTextLengthW(view);
            form.PressTab();
            expect(::GetFocus() == edit, "the focus did not move on to 編集");
            expect(::GetWindowTextLengthW(view) == length, "Tab changed the text");
        }
    });
    step("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ puts the HTML view's text on the clipboard, and the code styled inline as HTML Format", [&] {
        const Form form = Form::Find();
        ::SendMessageW(form.Button("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"), BM_CLICK, 0, 0);
        expect(ClipboardText() == readFile(examples + "\\expected\\Sample\\Ledger.links.html"),
               "the clipboard holds other text");
        // Beside it, the same code styled inline, found by the header's byte offsets.
        const std::string html = ClipboardHtmlFormat();
        const auto offset = [&html](const std::string& name) {
            const std::size_t at = html.find("\r\n" + name + ":");
            expect(at != std::string::npos, "HTML Format has no " + name);
            return static_cast<std::size_t>(std::stoul(html.substr(at + name.size() + 3, 10)));
        };
        const std::size_t start = offset("StartFragment");
        const std::size_t end = offset("EndFragment");
        expect(html.starts_with("Version:0.9\r\n") && html.substr(offset("StartHTML"), 6) == "<html>" &&
                   offset("EndHTML") == html.size() && start <= end && end <= html.size(),
               "HTML Format's header does not frame its document");
        expect(html.substr(start, end - start) ==
                   readFile(examples + "\\expected\\Sample\\Ledger.links.inline-editor.html"),
               "HTML Format's fragment differs");
    });
    step("OnDisconnection removes the button and stores DisplayOnConnect", [&] {
        session->Disconnect();
        expect(text(win32::SystemRegistry(), SettingsKey, "DisplayOnConnect") == "1", "DisplayOnConnect is not 1");
        session.reset();
    });

    step("each connect mode adds the button or not, and a stored \"1\" reopens the window", [&] {
        const struct {
            long mode;
            const char* stored;
            bool button;
            bool openAtConnection;
            bool openAtStartupComplete;
        } cases[] = {
            {0, "1", true, true, true},   {0, "0", true, false, false}, {1, "1", true, false, true},
            {1, "0", true, false, false}, {2, "1", false, false, true}, {2, "0", false, false, false},
        };
        for (const auto& c : cases) {
            const std::string which = "mode " + std::to_string(c.mode) + ", stored " + c.stored + ": ";
            storeDisplayOnConnect(c.stored);
            Connection connection(OpenEditor({examples + "\\Sample"}));
            connection.Connect(c.mode);
            expect(connection.Buttons() == (c.button ? std::vector{MenuCaption} : std::vector<std::string>{}),
                   which + "the buttons " + joined(connection.Buttons()));
            expect(FormVisible() == c.openAtConnection, which + "the window at connection");
            if (c.mode != 0) {
                connection.StartupComplete();
                expect(FormVisible() == c.openAtStartupComplete, which + "the window after start-up");
            }
            connection.Disconnect();
            expect(!FormVisible(), which + "the window stays after disconnection");
        }
    });
    step("a failure to wire the button shows its bare description, and the connection stands", [&] {
        // The editor fails to give the click source, or the source refuses the add-in's sink.
        const struct {
            bool sourceFails;
            std::string description;
        } cases[] = {
            {true, "イベント ソースを取得できません。"},
            {false, "オブジェクトまたはクラスがこのイベントのセットをサポートしていません。"},
        };
        for (const auto& c : cases) {
            storeDisplayOnConnect("0");
            Connection connection(OpenEditor({examples + "\\Sample"}));
            if (c.sourceFails)
                connection.menus->eventsFailure = RuntimeError(err::ObjectNotSet, c.description);
            connection.menus->refuseSinks = !c.sourceFails;
            const ExpectedBox box("Quillmark", c.description);
            connection.Connect(0);
            expect(box.Seen() == 1, "no message \"" + c.description + "\"");
            expect(connection.Buttons() == std::vector{MenuCaption}, "the button is not there until disconnection");
            connection.Disconnect();
        }
    });
    step("a start-up without an active code pane shows one text view", [&] {
        storeDisplayOnConnect("0");
        // A module no earlier opening selected, so that no module is selected at all.
        const auto project = editorOver("C:\\Lone.bas", "Sub Lone()\r\nEnd Sub", "Unopened")->ActiveVBProject();
        Connection connection(
            std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project, nullptr));
        connection.Connect(0);
        const Form form = connection.ClickButton();
        expect(form.VisibleTextViews() == 1, std::to_string(form.VisibleTextViews()) + " text views can be seen");
        connection.Disconnect();
    });
    step("the status line's seconds are written with the user's decimal separator", [&] {
        storeDisplayOnConnect("0");
        const UserDecimalSeparator comma(L",");
        Connection connection(editorOver("C:\\Generated.bas", bench::GenerateModule(2000)));
        connection.Connect(0);
        const std::string status = connection.ClickButton().Status();
        const auto start = status.find(' ') + 1;
        const std::string seconds = status.substr(start, status.find(" 秒 : ") - start);
        // A whole number of seconds has no separator to show.
        expect(seconds.find('.') == std::string::npos && (seconds.find(',') != std::string::npos ||
                                                          seconds.find_first_not_of("0123456789") == std::string::npos),
               "the status line reads: " + status);
        connection.Disconnect();
    });
    step("projects named 売上.xlsm and 経費.xlsm are listed by their names", [&] {
        const std::string document = shared + "\\pre-commit-VBA\\test.xlsm";
        if (::GetFileAttributesW(Widen(document).c_str()) == INVALID_FILE_ATTRIBUTES)
            throw Skipped("no shared document " + document);
        TemporaryCopies copies;
        const auto sales = editorOver(copies.Copy(document, "売上.xlsm"), "Sub Total()\r\nEnd Sub");
        const auto costs = editorOver(copies.Copy(document, "経費.xlsm"), "Sub Total()\r\nEnd Sub");
        storeDisplayOnConnect("0");
        Connection connection(
            std::make_shared<MemoryEditor>(std::vector{sales->ActiveVBProject(), costs->ActiveVBProject()},
                                           sales->ActiveVBProject(), sales->ActiveCodePane()));
        connection.Connect(0);
        const Form form = connection.ClickButton();
        const auto listed = form.Entries(form.Child(L"ListBox", 2));
        expect(listed == std::vector<std::string>{"売上.xlsm", "経費.xlsm"}, "the project list: " + joined(listed));
        connection.Disconnect();
    });
    ::CoFreeUnusedLibraries();

    step("regsvr32 /u removes every entry and every key it created, and neither class can be created", [&] {
        expect(run("regsvr32.exe /s /u \"" + dll.path + "\"") == 0, "exit code");
        checkRemoved(dll);
        expect(editorKeysBefore || !win32::SystemRegistry().KeyExists(editorKeys), editorKeys + " is left");
        CLSID clsid{};
        expect(FAILED(::CLSIDFromProgID(L"Quillmark.CMMTimer", &clsid)), "Quillmark.CMMTimer still has a class");
        ComPtr<IUnknown> object;
        expect(::CoCreateInstance(win32::SystemGuid(CLSID_Connect), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(object.GetAddressOf())) == REGDB_E_CLASSNOTREG,
               "Connect can still be created");
    });
    step("registration and removal leave another add-in's entry alone", [&] {
        const std::string otherAddIn = dll.addInKey.substr(0, dll.addInKey.rfind('\\')) + "\\Other.Connect";
        win32::SystemRegistry registry;
        registry.SetValue(otherAddIn, "FriendlyName", "Other");
        expect(run("regsvr32.exe /s \"" + dll.path + "\"") == 0, "exit code of registration");
        expect(run("regsvr32.exe /s /u \"" + dll.path + "\"") == 0, "exit code of removal");
        checkRemoved(dll);
        expect(text(registry, otherAddIn, "FriendlyName") == "Other", "another add-in's entry went too");
        registry.DeleteTree(editorKeysBefore ? otherAddIn : editorKeys);
    });
    return 0;
}

// The path as the system spells it, which is how the library finds its own file.
std::string fullPath(const wchar_t* path)
{
    std::wstring full(MAX_PATH, L'\0');
    full.resize(::GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr));
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

// Arguments as wide text, so that a path of any name arrives whole.
int wmain(int argc, wchar_t** argv)
{
    using namespace quillmark::test;
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    const std::wstring command = argc > 1 ? argv[1] : L"";
    // A sixth argument keeps the window up that many seconds after the conversion, for a picture.
    if (command == L"check" && (argc == 5 || argc == 6))
        return checkLibrary({fullPath(argv[2])}, fullPath(argv[3]), fullPath(argv[4]),
                            argc == 6 ? std::wcstoul(argv[5], nullptr, 10) * 1000 : 0);
    if (command == L"bench" && argc == 3)
        return bench(static_cast<std::int32_t>(std::wcstol(argv[2], nullptr, 10)));
    std::fprintf(stderr, "usage: QuillmarkTestHost check DLL SOURCES SHARED [SECONDS] | bench LINES\n");
    return 2;
}
