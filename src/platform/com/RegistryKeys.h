#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quillmark::com {

// Keys named by their full Windows paths ("HKEY_CURRENT_USER\Software\Classes\CLSID\{...}"),
// each with named string or DWORD values (the empty name is the key's default value): what
// registration writes and removes, in the stand-in's file or in the system's registry.
class RegistryKeys {
public:
    using Value = std::variant<std::string, std::uint32_t>;

    virtual ~RegistryKeys() = default;
    virtual bool KeyExists(const std::string& key) const = 0;
    // Creates key and every missing key above it.
    virtual void SetValue(const std::string& key, const std::string& name, Value value) = 0;
    virtual std::optional<Value> GetValue(const std::string& key, const std::string& name) const = 0;
    // Names of the keys right below key.
    virtual std::vector<std::string> SubKeys(const std::string& key) const = 0;
    // Removes key with everything below it; false when it did not exist.
    virtual bool DeleteTree(const std::string& key) = 0;
    // Whether key is there and holds neither values nor keys.
    virtual bool IsEmpty(const std::string& key) const = 0;
    // Whether DeleteTree(key) would be allowed, for key and everything below it (true when there
    // is no such key), so that a removal of many keys can be refused before it begins.
    virtual bool CanDeleteTree(const std::string& key) const = 0;
};

} // namespace quillmark::com
