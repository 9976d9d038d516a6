#pragma once

// The test host's editor as the real one offers itself to an add-in: automation objects
// reached by name (VBE, projects, components, code modules, the active code pane, command bars
// and the CommandBarEvents click source with its connection point), over a code source.

#include "codemodel/HostObjectModel.h"
#include "platform/win32/com/Automation.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillmark::test {

using win32::ComPtr;

// The controls of the host's command bars and the click sources bound to them.
class HostMenus {
public:
    struct Control {
        std::string caption;
        ComPtr<IDispatch> object;
        ComPtr<IDispatch> clickSource; // bound by Events.CommandBarEvents(control)
    };

    std::vector<std::string> Captions(const std::string& bar) const;
    // Fires Click on the control with this caption: false when it has none or nobody listens.
    bool Click(const std::string& bar, const std::string& caption, bool& handled, bool& cancelDefault);

    std::vector<std::pair<std::string, std::vector<std::shared_ptr<Control>>>> bars = {{"Add-Ins", {}},
                                                                                       {"Menu Bar", {}}};
    // Events.CommandBarEvents fails with this error, or hands out sources that refuse every sink.
    std::optional<RuntimeError> eventsFailure;
    bool refuseSinks = false;
};

// The root object over editor's code, with menus.
ComPtr<IDispatch> MakeHostEditor(std::shared_ptr<VBE> code, std::shared_ptr<HostMenus> menus);

} // namespace quillmark::test
