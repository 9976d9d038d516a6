#pragma once

#include "addin/Extensibility.h"
#include "codemodel/HostObjectModel.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// An add-in as the editor's add-in list in the registry describes it.
struct AddInEntry {
    std::string progid;
    std::string displayName;
    std::string description;
    std::uint32_t loadBehavior = 0;

    bool LoadOnStartup() const { return (loadBehavior & 1u) != 0; }
};

// The editor's side of add-ins: the registered list, connection and disconnection through
// IDTExtensibility2, and the start-up and shutdown sequences. Failures throw RuntimeError or
// com::RegistryError with a description for the user.
class AddInHost {
public:
    // The key under which the editor lists its add-ins.
    static constexpr const char* AddInsKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins";

    explicit AddInHost(std::shared_ptr<VBE> editor) : editor_(std::move(editor)) {}

    std::vector<AddInEntry> Registered() const;
    bool IsLoaded(const std::string& progid) const { return loaded_.count(progid) != 0; }

    // Creates the add-in and calls OnConnection with mode; nothing happens when it is loaded.
    void Load(const std::string& progid, std::int32_t connectMode);
    // Calls OnDisconnection and lets the add-in go; nothing happens when it is not loaded.
    void Unload(const std::string& progid, std::int32_t removeMode = com::ext_DisconnectMode::UserClosed);
    // Remembers whether the editor connects the add-in when it starts.
    void SetLoadOnStartup(const std::string& progid, bool onStartup);

    // Connects every add-in marked for start-up with mode 1, then tells each that start-up is
    // complete. Returns the failures, one description each; the others still load.
    std::vector<std::string> LoadStartupAddIns();
    // OnBeginShutdown to every loaded add-in, then OnDisconnection to each.
    void Shutdown();

private:
    std::shared_ptr<VBE> editor_;
    std::map<std::string, com::ComPtr<com::IDTExtensibility2>> loaded_;
};

} // namespace quillmark
