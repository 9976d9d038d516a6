#include "platform/win32/SystemRegistry.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <cstring>
#include <utility>

namespace quillmark::win32 {
namespace {

struct RootKey {
    const char* name;
    HKEY key;
};

const RootKey Roots[] = {
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};

// The root and the path below it.
std::pair<HKEY, std::wstring> SplitKey(const std::string& key)
{
    for (const RootKey& root : Roots) {
        const std::string prefix = std::string(root.name) + "\\";
        if (key == root.name)
            return {root.key, {}};
        if (key.starts_with(prefix))
            return {root.key, Widen(key.substr(prefix.size()))};
    }
    throw RegistryError("レジストリ キー「" + key + "」のルートが不明です。");
}

[[noreturn]] void fail(const char* action, const std::string& key, LSTATUS status)
{
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Narrow(text) : "エラー " + std::to_string(status);
    if (text)
        ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    throw RegistryError("レジストリ キー「" + key + "」を" + action + "ません: " + reason);
}

// An open key, closed when it goes.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey()
    {
        if (key_)
            ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

bool SystemRegistry::KeyExists(const std::string& key) const
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, open.Out()) == ERROR_SUCCESS;
}

void SystemRegistry::SetValue(const std::string& key, const std::string& name, Value value)
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    LSTATUS status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, open.Out(), nullptr);
    if (status != ERROR_SUCCESS)
        fail("作成でき", key, status);
    const std::wstring valueName = Widen(name);
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::wstring wide = Widen(*text);
        status = ::RegSetValueExW(open.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                  static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    } else {
        const DWORD number = std::get<std::uint32_t>(value);
        status = ::RegSetValueExW(open.Get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                  sizeof number);
    }
    if (status != ERROR_SUCCESS)
        fail("書き込め", key, status);
}

std::optional<SystemRegistry::Value> SystemRegistry::GetValue(const std::string& key, const std::string& name) const
{
    const auto [root, path] = SplitKey(key);
    const std::wstring valueName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status =
        ::RegGetValueW(root, path.c_str(), valueName.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (status != ERROR_SUCCESS)
        fail("読め", key, status);
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    status = ::RegGetValueW(root, path.c_str(), valueName.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type,
                            buffer.data(), &size);
    if (status != ERROR_SUCCESS)
        fail("読め", key, status);
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, buffer.data(), sizeof number);
        return Value(std::uint32_t{number});
    }
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0')
        buffer.pop_back();
    return Value(Narrow(buffer));
}

std::vector<std::string> SystemRegistry::SubKeys(const std::string& key) const
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    std::vector<std::string> names;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, open.Out()) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name / sizeof name[0];
        const LSTATUS status = ::RegEnumKeyExW(open.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            fail("列挙でき", key, status);
        names.push_back(Narrow(std::wstring_view(name, length)));
    }
    return names;
}

bool SystemRegistry::DeleteTree(const std::string& key)
{
    const auto [root, path] = SplitKey(key);
    const LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return false;
    if (status != ERROR_SUCCESS)
        fail("削除でき", key, status);
    return true;
}

bool SystemRegistry::IsEmpty(const std::string& key) const
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, open.Out()) != ERROR_SUCCESS)
        return false;
    DWORD keys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyW(open.Get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS &&
           keys == 0 && values == 0;
}

bool SystemRegistry::CanDeleteTree(const std::string& key) const
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    const LSTATUS status =
        ::RegOpenKeyExW(root, path.c_str(), 0, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, open.Out());
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    for (const std::string& below : SubKeys(key))
        if (!CanDeleteTree(key + "\\" + below))
            return false;
    return true;
}

bool SystemRegistry::CanWriteBelow(const std::string& key) const
{
    const auto [root, path] = SplitKey(key);
    OpenKey open;
    return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, open.Out()) == ERROR_SUCCESS;
}

} // namespace quillmark::win32
