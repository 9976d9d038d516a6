#include "addin/AddIn.h"

#include "base/RuntimeError.h"
#include "modhtml/ModHtml.h"
#include "platform/settings/Settings.h"
#include "platform/ui/MessageBox.h"

namespace quillmark {
namespace {

constexpr const char* AddInTitle = "Quillmark";
constexpr const char* MenuCaption = "ｿｰｽをhtmlに変換する";
constexpr std::int16_t msoControlButton = 1;

// Runs one step of a procedure that goes on after a failing step.
template <class Step>
void ResumeNext(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

AddIn::AddIn(AddInWindowFactory createWindow, std::function<std::shared_ptr<void>()> selfReference)
    : createWindow_(std::move(createWindow)), selfReference_(std::move(selfReference))
{}

AddIn::~AddIn()
{
    if (MenuHandler_)
        ResumeNext([&] { MenuHandler_->SetClickHandler({}); });
}

void AddIn::SetMenuHandler(std::shared_ptr<CommandBarEvents> value)
{
    if (auto previous = std::exchange(MenuHandler_, nullptr))
        previous->SetClickHandler({});
    if (value)
        value->SetClickHandler([this](const std::shared_ptr<CommandBarControl>& control, bool& handled,
                                      bool& cancelDefault) { MenuHandler_Click(control, handled, cancelDefault); });
    MenuHandler_ = std::move(value);
}

std::shared_ptr<CommandBarControl> AddIn::AddToAddInCommandBar(std::string& sCaption)
{
    try {
        const auto bar = Obj(Obj(VBInstance_).CommandBars()).Item("Add-Ins");
        if (!bar)
            return nullptr;
        auto control = Obj(bar->Controls()).Add(msoControlButton);
        Obj(control).SetCaption(sCaption);
        return control;
    } catch (...) {
        return nullptr;
    }
}

void AddIn::MenuHandler_Click(const std::shared_ptr<CommandBarControl>&, bool&, bool&)
{
    Show();
}

void AddIn::Show()
{
    ResumeNext([&] {
        if (!AddInForm_)
            AddInForm_ = createWindow_();
    });
    ResumeNext([&] { Obj(AddInForm_).SetConnect(selfReference_()); });
    ModHtml().HostEditor = VBInstance_;
    FormDisplayed_ = true;
    ResumeNext([&] { Obj(AddInForm_).Show(); });
}

void AddIn::Hide()
{
    FormDisplayed_ = false;
    ResumeNext([&] { Obj(AddInForm_).Hide(); });
}

bool AddIn::DisplayOnConnect() const
{
    return GetSetting(AddInTitle, "Settings", "DisplayOnConnect", "0") == "1";
}

void AddIn::OnConnection(std::shared_ptr<VBE> application, std::int32_t connectMode)
{
    try {
        if (!application)
            throw RuntimeError(err::TypeMismatch);
        VBInstance_ = std::move(application);
        if (connectMode != ext_ConnectMode::External) {
            std::string caption = MenuCaption;
            MenuControl_ = AddToAddInCommandBar(caption);
            SetMenuHandler(Obj(Obj(VBInstance_).Events()).CommandBarEvents(MenuControl_));
        }
        if (connectMode == ext_ConnectMode::AfterStartup && DisplayOnConnect())
            Show();
    } catch (...) {
        MsgBox(CurrentError().Description(), AddInTitle);
    }
}

void AddIn::OnDisconnection()
{
    // The window holds a reference to the component object; keep it alive until the last step.
    const std::shared_ptr<void> self = selfReference_();
    ResumeNext([&] { Obj(MenuControl_).Delete(); });
    if (FormDisplayed_) {
        ResumeNext([&] { SaveSetting(AddInTitle, "Settings", "DisplayOnConnect", "1"); });
        FormDisplayed_ = false;
    } else {
        ResumeNext([&] { SaveSetting(AddInTitle, "Settings", "DisplayOnConnect", "0"); });
    }
    ResumeNext([&] { Obj(AddInForm_).Unload(); });
    AddInForm_.reset();
    VBInstance_.reset();
    ModHtml().HostEditor.reset();
    ResumeNext([&] { SetMenuHandler(nullptr); });
    MenuHandler_.reset();
    MenuControl_.reset();
}

void AddIn::OnStartupComplete()
{
    if (DisplayOnConnect())
        Show();
}

} // namespace quillmark
