#pragma once

#include "codemodel/HostObjectModel.h"
#include "window/AddInWindow.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillmark {

// What the component class Connect does, over the editor's object model and the settings
// store. Each platform's Connect serves it through its component run-time and hands it the
// editor's objects, a window factory and a counted reference to itself.
class AddIn {
public:
    AddIn(AddInWindowFactory createWindow, std::function<std::shared_ptr<void>()> selfReference);
    ~AddIn();
    AddIn(const AddIn&) = delete;
    AddIn& operator=(const AddIn&) = delete;

    // application is the editor's root object, or nothing when the caller gave something else.
    // Failures are shown in a message box and never passed on.
    void OnConnection(std::shared_ptr<VBE> application, std::int32_t connectMode);
    // Every step is attempted; failures are skipped silently.
    void OnDisconnection();
    // Throws the RuntimeError of a failing settings read.
    void OnStartupComplete();

    bool FormDisplayed() const { return FormDisplayed_; }
    void SetFormDisplayed(bool value) { FormDisplayed_ = value; }
    std::shared_ptr<VBE> VBInstance() const { return VBInstance_; }
    void SetVBInstance(std::shared_ptr<VBE> value) { VBInstance_ = std::move(value); }
    std::shared_ptr<CommandBarEvents> MenuHandler() const { return MenuHandler_; }
    // Binds the source's Click to MenuHandler_Click and unbinds the previous source. Throws when
    // the source refuses the binding, and then stays empty.
    void SetMenuHandler(std::shared_ptr<CommandBarEvents> value);
    void Hide();
    void Show();
    std::shared_ptr<CommandBarControl> AddToAddInCommandBar(std::string& sCaption);
    void MenuHandler_Click(const std::shared_ptr<CommandBarControl>& commandBarControl, bool& handled,
                           bool& cancelDefault);

private:
    bool DisplayOnConnect() const;

    AddInWindowFactory createWindow_;
    std::function<std::shared_ptr<void>()> selfReference_;

    bool FormDisplayed_ = false;
    std::shared_ptr<VBE> VBInstance_;
    std::shared_ptr<CommandBarControl> MenuControl_;
    std::unique_ptr<AddInWindow> AddInForm_;
    std::shared_ptr<CommandBarEvents> MenuHandler_;
};

} // namespace quillmark
