#include "platform/com/Registry.h"

#include "base/AsciiText.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileReading.h"
#include "platform/settings/TextLines.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quillmark::com {
namespace {

constexpr const char* Header = "Windows Registry Editor Version 5.00";

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

class LineError {
public:
    int line;
    std::string problem;
};

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::string Unquote(const std::string& text, std::size_t& pos, int line)
{
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos == text.size())
                break;
            c = text[pos];
            if (c != '"' && c != '\\')
                throw LineError{line, "an unknown escape in a string"};
        }
        out += c;
    }
    throw LineError{line, "a string without its closing \""};
}

bool ValidKeyName(const std::string& name)
{
    if (name.empty() || name.front() == '\\' || name.back() == '\\' || name.find("\\\\") != std::string::npos)
        return false;
    return name.find_first_of("\r\n[]") == std::string::npos;
}

std::string ParentOf(const std::string& key)
{
    const auto cut = key.rfind('\\');
    return cut == std::string::npos ? std::string() : key.substr(0, cut);
}

} // namespace

RegistryLock::RegistryLock(const std::string& registryPath)
{
    const std::string lockPath = registryPath + ".lock";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(lockPath).parent_path(), ec);
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        throw RegistryError("cannot lock the registry file " + lockPath + ": " + std::strerror(errno));
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const std::string why = std::strerror(errno);
            ::close(fd_);
            throw RegistryError("cannot lock the registry file " + lockPath + ": " + why);
        }
    }
}

RegistryLock::~RegistryLock()
{
    ::close(fd_);
}

std::string Registry::DefaultPath()
{
    return ConfigHome() + "/quillmark-host/registry.reg";
}

Registry::Registry(std::string path) : path_(std::move(path))
{
    FileText file;
    try {
        file = ReadWholeFile(path_);
    } catch (const RuntimeError& e) {
        throw RegistryError("cannot read the registry file " + path_ + ": " + e.Problem());
    }
    if (!file.exists)
        return;
    try {
        Parse(file.text);
    } catch (const LineError& e) {
        throw RegistryError("the registry file " + path_ + " is damaged at line " + std::to_string(e.line) + " (" +
                            e.problem + "); mend it or move it away, then try again. The file was not changed.");
    }
}

void Registry::Parse(const std::string& text)
{
    int number = 0;
    Key* current = nullptr;
    bool headerSeen = false;
    for (const std::string& line : TextLines(text)) {
        ++number;
        if (line.empty() || line[0] == ';')
            continue;
        if (!headerSeen) {
            if (line != Header)
                throw LineError{number, std::string("the first line is not \"") + Header + "\""};
            headerSeen = true;
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']' || !ValidKeyName(line.substr(1, line.size() - 2)))
                throw LineError{number, "a key line is [KEY PATH]"};
            const std::string name = line.substr(1, line.size() - 2);
            CreateKey(name);
            current = &KeyNamed(name);
            continue;
        }
        if (!current)
            throw LineError{number, "a value before any key"};
        std::string name;
        std::size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] == '"') {
            name = Unquote(line, at, number);
            if (name.empty())
                throw LineError{number, "an empty value name"};
        } else {
            throw LineError{number, "a value line is \"NAME\"=VALUE"};
        }
        if (at >= line.size() || line[at] != '=')
            throw LineError{number, "no = after the value name"};
        ++at;
        Value value;
        if (at < line.size() && line[at] == '"') {
            value = Unquote(line, at, number);
            if (at != line.size())
                throw LineError{number, "characters after the string"};
        } else if (line.compare(at, 6, "dword:") == 0 && line.size() == at + 14 &&
                   line.find_first_not_of("0123456789abcdefABCDEF", at + 6) == std::string::npos) {
            value = static_cast<std::uint32_t>(std::stoul(line.substr(at + 6), nullptr, 16));
        } else {
            throw LineError{number, "a value is \"TEXT\" or dword: and 8 hexadecimal digits"};
        }
        auto& values = current->values;
        auto same = [&](const auto& v) { return LowerAscii(v.first) == LowerAscii(name); };
        if (std::any_of(values.begin(), values.end(), same))
            throw LineError{number, "two values of one name in one key"};
        values.emplace_back(name, std::move(value));
    }
}

void Registry::Save() const
{
    try {
        CreateParentFolders(path_);
        WriteFileAtomically(path_, Text());
    } catch (const RuntimeError& e) {
        throw RegistryError("cannot write the registry file: " + e.Message());
    }
}

std::string Registry::Text() const
{
    std::vector<const Key*> ordered;
    for (const auto& [lowered, k] : keys_)
        ordered.push_back(&k);
    std::sort(ordered.begin(), ordered.end(), [](const Key* a, const Key* b) { return a->order < b->order; });

    std::string text = std::string(Header) + "\n";
    for (const Key* k : ordered) {
        text += "\n[" + k->name + "]\n";
        for (const auto& [name, value] : k->values) {
            text += name.empty() ? std::string("@") : Quote(name);
            text += '=';
            if (const auto* s = std::get_if<std::string>(&value)) {
                text += Quote(*s);
            } else {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "dword:%08x", std::get<std::uint32_t>(value));
                text += buffer;
            }
            text += '\n';
        }
    }
    return text;
}

Registry::Key& Registry::KeyNamed(const std::string& name)
{
    return keys_.at(LowerAscii(name));
}

const Registry::Key* Registry::FindKey(const std::string& name) const
{
    const auto it = keys_.find(LowerAscii(name));
    return it == keys_.end() ? nullptr : &it->second;
}

bool Registry::KeyExists(const std::string& key) const
{
    return FindKey(key) != nullptr;
}

void Registry::CreateKey(const std::string& name)
{
    if (!ValidKeyName(name))
        throw RegistryError("\"" + name + "\" cannot be a registry key name");
    if (KeyExists(name))
        return;
    if (const std::string parent = ParentOf(name); !parent.empty())
        CreateKey(parent);
    keys_.emplace(LowerAscii(name), Key{name, {}, nextOrder_++});
}

void Registry::SetValue(const std::string& keyName, const std::string& name, Value value)
{
    CreateKey(keyName);
    auto& values = KeyNamed(keyName).values;
    for (auto& [existing, v] : values) {
        if (LowerAscii(existing) == LowerAscii(name)) {
            v = std::move(value);
            return;
        }
    }
    values.emplace_back(name, std::move(value));
}

std::optional<Registry::Value> Registry::GetValue(const std::string& keyName, const std::string& name) const
{
    const Key* k = FindKey(keyName);
    if (!k)
        return std::nullopt;
    for (const auto& [existing, v] : k->values)
        if (LowerAscii(existing) == LowerAscii(name))
            return v;
    return std::nullopt;
}

std::optional<std::string> Registry::GetString(const std::string& key, const std::string& name) const
{
    const auto v = GetValue(key, name);
    if (!v || !std::holds_alternative<std::string>(*v))
        return std::nullopt;
    return std::get<std::string>(*v);
}

std::optional<std::uint32_t> Registry::GetDword(const std::string& key, const std::string& name) const
{
    const auto v = GetValue(key, name);
    if (!v || !std::holds_alternative<std::uint32_t>(*v))
        return std::nullopt;
    return std::get<std::uint32_t>(*v);
}

std::vector<std::string> Registry::SubKeys(const std::string& keyName) const
{
    const std::string prefix = LowerAscii(keyName) + "\\";
    std::vector<const Key*> children;
    for (const auto& [lowered, k] : keys_)
        if (lowered.starts_with(prefix) && lowered.find('\\', prefix.size()) == std::string::npos)
            children.push_back(&k);
    std::sort(children.begin(), children.end(), [](const Key* a, const Key* b) { return a->order < b->order; });
    std::vector<std::string> names;
    for (const Key* k : children)
        names.push_back(k->name.substr(prefix.size()));
    return names;
}

bool Registry::DeleteTree(const std::string& keyName)
{
    const std::string lowered = LowerAscii(keyName);
    const std::string prefix = lowered + "\\";
    const auto removed = std::erase_if(
        keys_, [&](const auto& entry) { return entry.first == lowered || entry.first.starts_with(prefix); });
    return removed > 0;
}

bool Registry::IsEmpty(const std::string& keyName) const
{
    const Key* k = FindKey(keyName);
    return k && k->values.empty() && SubKeys(keyName).empty();
}

} // namespace quillmark::com
