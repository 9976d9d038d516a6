#pragma once

#include "base/RuntimeError.h"
#include "platform/com/RegistryKeys.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillmark::com {

// A registry file that cannot be read or written: error 75, whose description says what, where,
// and what to do.
inline RuntimeError RegistryError(const std::string& description)
{
    return RuntimeError(err::PathFileAccess, description);
}

// Keeps other processes from changing the registry file between a read and the write that
// follows it: hold one around Registry's construction and Save.
class RegistryLock {
public:
    explicit RegistryLock(const std::string& registryPath);
    ~RegistryLock();
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;

private:
    int fd_ = -1;
};

// The per-user registry stand-in: keys named by their Windows paths
// ("HKEY_CURRENT_USER\Software\Classes\CLSID\{...}"), each with named string or DWORD values
// (the empty name is the key's default value). Kept in one file in the registry-export text
// form, read whole and written back atomically. A file that does not parse is reported and
// never written over. Key and value names compare case-insensitively.
class Registry final : public RegistryKeys {
public:
    // $XDG_CONFIG_HOME/quillmark-host/registry.reg
    static std::string DefaultPath();

    // Reads path (a missing file is an empty registry). Throws RegistryError.
    explicit Registry(std::string path = DefaultPath());

    const std::string& Path() const { return path_; }
    // Writes the registry back. Throws RegistryError.
    void Save() const;

    bool KeyExists(const std::string& key) const override;
    // Creates key and every missing key above it.
    void CreateKey(const std::string& key);
    void SetValue(const std::string& key, const std::string& name, Value value) override;
    std::optional<Value> GetValue(const std::string& key, const std::string& name) const override;
    std::optional<std::string> GetString(const std::string& key, const std::string& name) const;
    std::optional<std::uint32_t> GetDword(const std::string& key, const std::string& name) const;
    // Names of the keys right below key, in the order they were created.
    std::vector<std::string> SubKeys(const std::string& key) const override;
    // Removes key with everything below it; false when it did not exist.
    bool DeleteTree(const std::string& key) override;
    bool IsEmpty(const std::string& key) const override;
    // Always: the file is written whole or not at all.
    bool CanDeleteTree(const std::string&) const override { return true; }

    // The file's text for the current content.
    std::string Text() const;

private:
    struct Key {
        std::string name;
        std::vector<std::pair<std::string, Value>> values;
        std::uint64_t order = 0;
    };

    void Parse(const std::string& text);
    Key& KeyNamed(const std::string& name);
    const Key* FindKey(const std::string& name) const;

    std::string path_;
    std::map<std::string, Key> keys_; // by lower-case path
    std::uint64_t nextOrder_ = 0;
};

} // namespace quillmark::com
