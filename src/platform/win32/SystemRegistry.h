#pragma once

#include "base/RuntimeError.h"
#include "platform/com/RegistryKeys.h"

namespace quillmark::win32 {

// A registry operation the system refused: error 75, whose description names the key and gives
// the system's own reason.
inline RuntimeError RegistryError(const std::string& description)
{
    return RuntimeError(err::PathFileAccess, description);
}

// The system's registry, keys named from their root: "HKEY_CURRENT_USER\...",
// "HKEY_LOCAL_MACHINE\...", "HKEY_CLASSES_ROOT\...". Throws RegistryError.
class SystemRegistry final : public com::RegistryKeys {
public:
    bool KeyExists(const std::string& key) const override;
    void SetValue(const std::string& key, const std::string& name, Value value) override;
    std::optional<Value> GetValue(const std::string& key, const std::string& name) const override;
    std::vector<std::string> SubKeys(const std::string& key) const override;
    bool DeleteTree(const std::string& key) override;
    bool IsEmpty(const std::string& key) const override;
    // Whether this process may delete key and each key below it (a normal user may not delete
    // what an elevated registration wrote below HKEY_LOCAL_MACHINE).
    bool CanDeleteTree(const std::string& key) const override;

    // Whether this process may create keys below key (an elevated one may below
    // HKEY_LOCAL_MACHINE).
    bool CanWriteBelow(const std::string& key) const;
};

} // namespace quillmark::win32
