#include "programs/standin-editor/AddInHost.h"

#include "base/RuntimeError.h"
#include "platform/com/CreateObject.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Registry.h"

#include <cstdio>

namespace quillmark {
namespace {

// "PROGID の NOTIFICATION が失敗しました (CODE)。" and what the add-in says about it, if anything.
std::string failure(const com::ComPtr<com::IDTExtensibility2>& addIn, const std::string& progid,
                    const char* notification, com::HResult hr)
{
    std::string text = progid + " の " + notification + " が失敗しました (" + com::HResultText(hr) + ")。";
    com::ExcepInfo info;
    if (auto errors = addIn.As<com::ISupportErrorInfo>(com::IID_ISupportErrorInfo);
        errors && errors->GetErrorInfo(&info) == com::S_OK)
        text += "\n" + info.description;
    return text;
}

} // namespace

std::vector<AddInEntry> AddInHost::Registered() const
{
    const com::Registry registry;
    std::vector<AddInEntry> entries;
    for (const std::string& progid : registry.SubKeys(AddInsKey)) {
        const std::string key = std::string(AddInsKey) + "\\" + progid;
        AddInEntry entry;
        entry.progid = progid;
        entry.displayName = registry.GetString(key, "FriendlyName").value_or(progid);
        entry.description = registry.GetString(key, "Description").value_or("");
        entry.loadBehavior = registry.GetDword(key, "LoadBehavior").value_or(0);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void AddInHost::Load(const std::string& progid, std::int32_t connectMode)
{
    if (IsLoaded(progid))
        return;
    auto addIn = com::CreateObject(progid).As<com::IDTExtensibility2>(com::IID_IDTExtensibility2);
    if (!addIn)
        throw RuntimeError(err::MemberNotSupported,
                           progid + " はアドインではありません (IDTExtensibility2 がありません)。");
    auto application = com::WrapHostObject(com::IID_VBE, editor_);
    std::vector<com::Variant> custom;
    const com::HResult hr = addIn->OnConnection(application.Get(), connectMode, nullptr, custom);
    if (com::Failed(hr))
        throw RuntimeError(err::InvalidCall, failure(addIn, progid, "OnConnection", hr));
    loaded_.emplace(progid, std::move(addIn));
}

void AddInHost::Unload(const std::string& progid, std::int32_t removeMode)
{
    const auto it = loaded_.find(progid);
    if (it == loaded_.end())
        return;
    const auto addIn = std::move(it->second);
    loaded_.erase(it);
    std::vector<com::Variant> custom;
    addIn->OnDisconnection(removeMode, custom);
}

void AddInHost::SetLoadOnStartup(const std::string& progid, bool onStartup)
{
    const com::RegistryLock lock(com::Registry::DefaultPath());
    com::Registry registry;
    const std::string key = std::string(AddInsKey) + "\\" + progid;
    if (!registry.KeyExists(key))
        throw RuntimeError(err::InvalidCall, progid + " は登録されていません。");
    const std::uint32_t old = registry.GetDword(key, "LoadBehavior").value_or(0);
    const std::uint32_t value = onStartup ? (old | 1u) : (old & ~1u);
    if (value == old)
        return;
    registry.SetValue(key, "LoadBehavior", value);
    registry.Save();
}

std::vector<std::string> AddInHost::LoadStartupAddIns()
{
    std::vector<std::string> failures;
    std::vector<std::string> started;
    try {
        for (const AddInEntry& entry : Registered()) {
            if (!entry.LoadOnStartup())
                continue;
            try {
                Load(entry.progid, com::ext_ConnectMode::Startup);
                started.push_back(entry.progid);
            } catch (const RuntimeError& e) {
                failures.push_back(e.Description());
            }
        }
    } catch (const RuntimeError& e) {
        failures.push_back(e.Description());
    }
    for (const std::string& progid : started) {
        std::vector<com::Variant> custom;
        if (const com::HResult hr = loaded_.at(progid)->OnStartupComplete(custom); com::Failed(hr))
            failures.push_back(failure(loaded_.at(progid), progid, "OnStartupComplete", hr));
    }
    return failures;
}

void AddInHost::Shutdown()
{
    for (auto& [progid, addIn] : loaded_) {
        std::vector<com::Variant> custom;
        addIn->OnBeginShutdown(custom);
    }
    while (!loaded_.empty())
        Unload(loaded_.begin()->first, com::ext_DisconnectMode::HostShutdown);
}

} // namespace quillmark
