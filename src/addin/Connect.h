#pragma once

#include "addin/IConnect.h"
#include "platform/com/ComObject.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Extensibility.h"

#include <memory>
#include <optional>

namespace quillmark {

class frmAddIn;

// The class the editor loads: it puts the menu command on the Add-Ins bar, opens the
// converter window on a click, and remembers at disconnection whether the window was open.
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
    bool FormDisplayed() override { return formDisplayed_; }
    void SetFormDisplayed(bool value) override { formDisplayed_ = value; }
    std::shared_ptr<VBE> VBInstance() override { return VBInstance_; }
    void SetVBInstance(std::shared_ptr<VBE> value) override { VBInstance_ = std::move(value); }
    std::shared_ptr<CommandBarEvents> MenuHandler() override { return MenuHandler_; }
    void SetMenuHandler(std::shared_ptr<CommandBarEvents> value) override;
    void Hide() override;
    void Show() override;
    std::shared_ptr<CommandBarControl> AddToAddInCommandBar(std::string& sCaption) override;

    // IDTExtensibility2
    com::HResult OnConnection(com::IUnknown* application, std::int32_t connectMode, com::IUnknown* addInInst,
                              std::vector<com::Variant>& custom) override;
    com::HResult OnDisconnection(std::int32_t removeMode, std::vector<com::Variant>& custom) override;
    com::HResult OnAddInsUpdate(std::vector<com::Variant>& custom) override;
    com::HResult OnStartupComplete(std::vector<com::Variant>& custom) override;
    com::HResult OnBeginShutdown(std::vector<com::Variant>& custom) override;

    // ISupportErrorInfo: what made the last notification fail.
    com::HResult GetErrorInfo(com::ExcepInfo* info) override;

    void MenuHandler_Click(const std::shared_ptr<CommandBarControl>& commandBarControl, bool& handled,
                           bool& cancelDefault);

private:
    bool DisplayOnConnect() const;

    bool formDisplayed_ = false;
    std::shared_ptr<VBE> VBInstance_;
    std::shared_ptr<CommandBarControl> MenuControl_;
    std::unique_ptr<frmAddIn> AddInForm_;
    std::shared_ptr<CommandBarEvents> MenuHandler_;
    std::optional<com::ExcepInfo> lastError_;
};

} // namespace quillmark
