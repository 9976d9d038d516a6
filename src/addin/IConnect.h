#pragma once

#include "codemodel/HostObjectModel.h"
#include "platform/com/Dispatch.h"

#include <memory>
#include <string>

namespace quillmark {

// The default dual interface of Connect (_Connect): early-bound through these members,
// late-bound through IDispatch by name or by the dispatch ids below.
class IConnect : public com::IDispatch {
public:
    static constexpr com::DispId DISPID_FormDisplayed = 0x40030000;
    static constexpr com::DispId DISPID_VBInstance = 0x40030001;
    static constexpr com::DispId DISPID_MenuHandler = 0x40030004;
    static constexpr com::DispId DISPID_Hide = 0x60030000;
    static constexpr com::DispId DISPID_Show = 0x60030001;
    static constexpr com::DispId DISPID_AddToAddInCommandBar = 0x60030006;

    virtual bool FormDisplayed() = 0;
    virtual void SetFormDisplayed(bool value) = 0;
    virtual std::shared_ptr<VBE> VBInstance() = 0;
    virtual void SetVBInstance(std::shared_ptr<VBE> value) = 0;
    virtual std::shared_ptr<CommandBarEvents> MenuHandler() = 0;
    // Binds the source's Click to MenuHandler_Click; nothing unbinds. Throws when the source
    // refuses the binding, and then stays empty.
    virtual void SetMenuHandler(std::shared_ptr<CommandBarEvents> value) = 0;
    virtual void Hide() = 0;
    virtual void Show() = 0;
    virtual std::shared_ptr<CommandBarControl> AddToAddInCommandBar(std::string& sCaption) = 0;

protected:
    ~IConnect() = default;
};

} // namespace quillmark
