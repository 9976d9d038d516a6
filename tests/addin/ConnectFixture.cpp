#include "ConnectFixture.h"

#include "modhtml/ModHtml.h"
#include "platform/settings/Settings.h"

#include <QApplication>

#include <filesystem>
#include <fstream>

namespace quillmark::test {

namespace {

std::shared_ptr<MemoryComponent> module(const std::string& name, const std::string& text)
{
    return std::make_shared<MemoryComponent>(vbext_ct::StdModule,
                                             std::make_shared<MemoryCodeModule>(name, ModuleText(text)));
}

} // namespace

void ConnectTest::SetUp()
{
    home = std::make_unique<testing::ConfigHomeGuard>("connect");
    messages = std::make_unique<RecordingMessageBox>();
    projectFolder_ = home->Path() + "/projects";
    std::filesystem::create_directories(projectFolder_);
    const std::string file = projectFolder_ + "/Book1.xlsm";
    std::ofstream(file) << "project";

    auto module1 = module("Module1", "Option Explicit\r\nSub Hello()\r\n    Debug.Print 1\r\nEnd Sub");
    auto module2 = module("Module2", "Sub Other()\r\nEnd Sub");
    auto project = std::make_shared<MemoryProject>(file, std::vector{module1, module2});
    auto code = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project,
                                               std::make_shared<MemoryCodePane>(module1->CodeModule()));
    editor = std::make_shared<FakeEditor>(code);
    connect = com::ComPtr<Connect>(new Connect);
}

void ConnectTest::TearDown()
{
    if (connect)
        connect->OnDisconnection(0, custom);
    connect.Reset();
    for (frmAddIn* window : Windows())
        delete window;
    ModHtml().HostEditor.reset();
    messages.reset();
    home.reset();
}

com::HResult ConnectTest::ConnectWith(std::int32_t mode)
{
    auto application = com::WrapHostObject<VBE>(com::IID_VBE, editor);
    return connect->OnConnection(application.Get(), mode, nullptr, custom);
}

com::HResult ConnectTest::Disconnect()
{
    return connect->OnDisconnection(com::ext_DisconnectMode::UserClosed, custom);
}

std::string ConnectTest::StoredDisplayOnConnect() const
{
    return GetSetting("Quillmark", "Settings", "DisplayOnConnect", "(none)");
}

void ConnectTest::StoreDisplayOnConnect(const std::string& value) const
{
    SaveSetting("Quillmark", "Settings", "DisplayOnConnect", value);
}

std::vector<frmAddIn*> ConnectTest::Windows() const
{
    std::vector<frmAddIn*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmAddIn*>(widget))
            windows.push_back(window);
    return windows;
}

ListBox& ConnectTest::ModuleList() const
{
    const auto windows = Windows();
    if (windows.size() != 1)
        throw std::runtime_error("expected one window, found " + std::to_string(windows.size()));
    auto* list = windows.front()->findChild<ListBox*>(QStringLiteral("List1"));
    if (!list)
        throw std::runtime_error("the window has no module list");
    return *list;
}

} // namespace quillmark::test
