#pragma once

#include "addin/AddIn.h"
#include "addin/Extensibility.h"
#include "addin/IConnect.h"
#include "platform/com/ComObject.h"
#include "platform/com/ErrorInfo.h"

#include <memory>
#include <optional>

namespace quillmark {

// The class the editor loads, served by the stand-in component run-time: the add-in's
// behaviour (AddIn) behind _Connect, IDTExtensibility2 and ISupportErrorInfo.
class Connect final : public com::ComObject<Connect, IConnect, com::IDTExtensibility2, com::ISupportErrorInfo> {
public:
    Connect();
    ~Connect() override;

    void* Interface(const com::Guid& iid);

    // IDispatch
    com::HResult GetIDsOfNames(const std::string& name, com::DispId* id) override;
    com::HResult Invoke(com::DispId id, std::uint16_t kind, std::vector<com::Variant>& args, com::Variant* result,
                        com::ExcepInfo* excep) override;

    // _Connect
    bool FormDisplayed() override { return addIn_.FormDisplayed(); }
    void SetFormDisplayed(bool value) override { addIn_.SetFormDisplayed(value); }
    std::shared_ptr<VBE> VBInstance() override { return addIn_.VBInstance(); }
    void SetVBInstance(std::shared_ptr<VBE> value) override { addIn_.SetVBInstance(std::move(value)); }
    std::shared_ptr<CommandBarEvents> MenuHandler() override { return addIn_.MenuHandler(); }
    void SetMenuHandler(std::shared_ptr<CommandBarEvents> value) override { addIn_.SetMenuHandler(std::move(value)); }
    void Hide() override { addIn_.Hide(); }
    void Show() override { addIn_.Show(); }
    std::shared_ptr<CommandBarControl> AddToAddInCommandBar(std::string& sCaption) override
    {
        return addIn_.AddToAddInCommandBar(sCaption);
    }

    // IDTExtensibility2
    com::HResult OnConnection(com::IUnknown* application, std::int32_t connectMode, com::IUnknown* addInInst,
                              std::vector<com::Variant>& custom) override;
    com::HResult OnDisconnection(std::int32_t removeMode, std::vector<com::Variant>& custom) override;
    com::HResult OnAddInsUpdate(std::vector<com::Variant>& custom) override;
    com::HResult OnStartupComplete(std::vector<com::Variant>& custom) override;
    com::HResult OnBeginShutdown(std::vector<com::Variant>& custom) override;

    // ISupportErrorInfo: what made the last notification fail.
    com::HResult GetErrorInfo(com::ExcepInfo* info) override;

private:
    AddIn addIn_;
    std::optional<com::ExcepInfo> lastError_;
};

} // namespace quillmark
