// uninstall.exe, what the apps list and IT run to remove Quillmark. The steps are NSIS's
// uninstaller, uninstall-steps.exe beside it, which started in its folder would copy itself to
// %TEMP%, start the copy and end at once with status 0, whatever the copy then did. This program
// starts that copy itself, in a folder of its own, waits for it and ends with its status: 0 when
// Quillmark is removed, 2 when the steps stopped (Office holds the library, a registration that
// could not be undone), 740 when they need elevation. Its own file and the folders it leaves,
// which cannot go while it runs, a copy of it removes once it has ended; that copy goes when
// Windows next starts, where the user may have that done.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t RemoveAfterOption[] = L"/RemoveAfter";
constexpr DWORD Failed = 1;

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(const std::wstring& path)
{
    const auto cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The arguments after the program's own name, as they were given, without an "_?=" of the
// caller's, which only the steps take.
std::wstring CallerArguments()
{
    const wchar_t* p = ::GetCommandLineW();
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p) {
        }
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    std::wstring arguments = p;
    if (const auto place = arguments.find(L"_?="); place != std::wstring::npos)
        arguments.erase(place);
    return arguments;
}

// The highest folder that the setup made above the installation in folder, as its uninstall
// entry keeps it; empty when it made none.
std::wstring CreatedFolder(const std::wstring& folder)
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark", 0,
                            KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
            continue;
        const auto read = [key](const wchar_t* name) {
            std::wstring text(32768, L'\0');
            DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            DWORD type = 0;
            if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
                    ERROR_SUCCESS ||
                type != REG_SZ)
                return std::wstring();
            text.resize(::wcsnlen(text.c_str(), size / sizeof(wchar_t)));
            return text;
        };
        const std::wstring location = read(L"InstallLocation");
        const std::wstring created = read(L"CreatedFolder");
        ::RegCloseKey(key);
        if (SameText(location, folder))
            return created;
    }
    return {};
}

DWORD Run(std::wstring command, const std::wstring& program, const std::wstring& folder, bool inherit, DWORD flags,
          HANDLE* process)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, inherit, flags, nullptr, folder.c_str(),
                          &startup, &started))
        return ::GetLastError();
    ::CloseHandle(started.hThread);
    *process = started.hProcess;
    return ERROR_SUCCESS;
}

// The remover: once the uninstaller has ended, its file, the installation's folder and the
// folders above it that the setup made, each once empty; then itself and its folder.
int RemoveAfter(HANDLE uninstaller, const std::wstring& folder, const std::wstring& created)
{
    ::WaitForSingleObject(uninstaller, INFINITE);
    ::CloseHandle(uninstaller);
    ::DeleteFileW((folder + L"\\uninstall.exe").c_str());
    ::RemoveDirectoryW(folder.c_str());
    for (std::wstring above = folder; !created.empty() && above.size() > created.size();) {
        above = FolderOf(above);
        if (above.empty())
            break;
        ::RemoveDirectoryW(above.c_str());
    }
    const std::wstring self = ModulePath();
    ::MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    ::MoveFileExW(FolderOf(self).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}

int Uninstall()
{
    const std::wstring self = ModulePath();
    const std::wstring folder = FolderOf(self);
    const std::wstring steps = folder + L"\\uninstall-steps.exe";
    if (!Exists(steps))
        return ERROR_FILE_NOT_FOUND;
    const std::wstring created = CreatedFolder(folder);

    std::wstring temp(MAX_PATH + 1, L'\0');
    temp.resize(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
    const std::wstring work = temp + L"Quillmark-uninstall-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring copy = work + L"\\uninstall-steps.exe";
    if (!::CopyFileW(steps.c_str(), copy.c_str(), FALSE)) {
        const DWORD error = ::GetLastError();
        ::RemoveDirectoryW(work.c_str());
        return static_cast<int>(error);
    }
    HANDLE process = nullptr;
    DWORD status = Run(L"\"" + copy + L"\" " + CallerArguments() + L" _?=" + folder, copy, work, false, 0, &process);
    if (status == ERROR_SUCCESS) {
        ::WaitForSingleObject(process, INFINITE);
        if (!::GetExitCodeProcess(process, &status))
            status = Failed;
        ::CloseHandle(process);
    }
    ::DeleteFileW(copy.c_str());

    // Removed when the steps removed themselves; otherwise they stopped, and everything stays.
    const std::wstring remover = work + L"\\uninstall.exe";
    HANDLE ownProcess = nullptr;
    if (status != 0 || Exists(steps) || !::CopyFileW(self.c_str(), remover.c_str(), FALSE) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &ownProcess,
                           SYNCHRONIZE, TRUE, 0)) {
        ::DeleteFileW(remover.c_str());
        ::RemoveDirectoryW(work.c_str());
        return static_cast<int>(status);
    }
    const std::wstring command = L"\"" + remover + L"\" " + RemoveAfterOption + L" " +
                                 std::to_wstring(reinterpret_cast<std::uintptr_t>(ownProcess)) + L" \"" + folder +
                                 L"\" \"" + created + L"\"";
    HANDLE removing = nullptr;
    if (Run(command, remover, work, true, DETACHED_PROCESS, &removing) == ERROR_SUCCESS)
        ::CloseHandle(removing);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments && count == 5 && std::wstring(arguments[1]) == RemoveAfterOption) {
        const auto handle =
            reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(arguments[2], nullptr, 10)));
        const int status = RemoveAfter(handle, arguments[3], arguments[4]);
        ::LocalFree(arguments);
        return status;
    }
    ::LocalFree(arguments);
    return Uninstall();
}
