#include "ConnectFixture.h"

#include "addin/AddInIdentity.h"
#include "modhtml/ModHtml.h"
#include "platform/settings/Settings.h"

#include <filesystem>
#include <fstream>

namespace quillmark::test {
namespace {

using com::ext_ConnectMode::AfterStartup;
using com::ext_ConnectMode::CommandLine;
using com::ext_ConnectMode::External;
using com::ext_ConnectMode::Startup;
using Message = RecordingMessageBox::Message;

TEST_F(ConnectTest, ConnectingAddsOneWiredButtonAtTheEndOfTheAddInsBarExceptForExternalClients)
{
    const struct {
        std::int32_t mode;
        bool button;
    } cases[] = {{AfterStartup, true}, {Startup, true}, {External, false}, {CommandLine, true}, {7, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        connect = com::ComPtr<Connect>(new Connect);
        EXPECT_EQ(ConnectWith(c.mode), com::S_OK);
        EXPECT_EQ(connect->VBInstance(), editor);
        if (c.button) {
            EXPECT_EQ(editor->AddIns().Captions(), (std::vector<std::string>{"Add-In Manager...", MenuCaption}));
            EXPECT_TRUE(connect->MenuHandler());
            EXPECT_TRUE(editor->SourceOf(MenuCaption).bound());
        } else {
            EXPECT_EQ(editor->AddIns().Captions(), std::vector<std::string>{"Add-In Manager..."});
            EXPECT_FALSE(connect->MenuHandler());
        }
        EXPECT_TRUE(Windows().empty());
        Disconnect();
        EXPECT_EQ(editor->AddIns().Captions(), std::vector<std::string>{"Add-In Manager..."});
    }
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, RepeatedConnectionsNeverAccumulateButtons)
{
    // Round 1 opens the window; rounds 2 and 3 find "1" and reopen it; round 3 hides it.
    const char* stored[] = {"0", "1", "1", "0", "0"};
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        connect = com::ComPtr<Connect>(new Connect);
        ConnectWith(AfterStartup);
        EXPECT_EQ(editor->AddIns().controls.size(), 2u);
        EXPECT_EQ(Windows().size(), round == 2 || round == 3 ? 1u : 0u);
        if (round == 1)
            editor->SourceOf(MenuCaption).Click();
        if (round == 3)
            connect->Hide();
        Disconnect();
        EXPECT_EQ(editor->AddIns().controls.size(), 1u);
        EXPECT_EQ(StoredDisplayOnConnect(), stored[round]);
    }
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, WithoutAnAddInsBarThereIsNoButtonAndNoMessage)
{
    editor = std::make_shared<FakeEditor>(nullptr, false);
    std::string caption = MenuCaption;
    EXPECT_FALSE(connect->AddToAddInCommandBar(caption));
    EXPECT_EQ(caption, MenuCaption);
    // Without a connection there is no editor at all: still nothing and no message.
    connect = com::ComPtr<Connect>(new Connect);
    EXPECT_FALSE(connect->AddToAddInCommandBar(caption));
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, AWiringFailureShowsTheBareDescriptionAndStillSucceeds)
{
    const struct {
        bool sourceFails;
        std::string description;
    } cases[] = {{true, "イベント ソースを取得できません。"},
                 {false, "オブジェクトまたはクラスがこのイベントのセットをサポートしていません。"}};
    for (const auto& c : cases) {
        connect = com::ComPtr<Connect>(new Connect);
        messages->messages.clear();
        editor->events->sources.clear();
        if (c.sourceFails)
            editor->events->failure = RuntimeError(91, c.description);
        editor->events->refuseBinding = !c.sourceFails;
        EXPECT_EQ(ConnectWith(AfterStartup), com::S_OK);
        EXPECT_EQ(messages->messages, (std::vector<Message>{{c.description, "Quillmark"}}));
        EXPECT_FALSE(connect->MenuHandler());
        EXPECT_EQ(connect->VBInstance(), editor);
        // The button was added before the failure and stays until disconnection.
        EXPECT_EQ(editor->AddIns().controls.size(), 2u);
        Disconnect();
        EXPECT_EQ(editor->AddIns().controls.size(), 1u);
        editor->events->failure.reset();
        editor->events->refuseBinding = false;
    }
}

TEST_F(ConnectTest, AnApplicationThatIsNotTheEditorIsReported)
{
    auto notAnEditor = com::WrapHostObject(com::IID_CommandBarControl, std::make_shared<int>(1));
    EXPECT_EQ(connect->OnConnection(notAnEditor.Get(), AfterStartup, nullptr, custom), com::S_OK);
    EXPECT_EQ(messages->messages, (std::vector<Message>{{ErrorDescription(err::TypeMismatch), "Quillmark"}}));
    EXPECT_EQ(editor->AddIns().controls.size(), 1u);
}

TEST_F(ConnectTest, ClicksOpenOneWindowAndStartItOnlyWhenItIsLoaded)
{
    ConnectWith(AfterStartup);
    FakeClickSource& menu = editor->SourceOf(MenuCaption);

    bool handled = false;
    bool cancelDefault = true;
    menu.Click(handled, cancelDefault);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(cancelDefault);
    ASSERT_EQ(Windows().size(), 1u);
    frmAddIn* window = Windows().front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_TRUE(connect->FormDisplayed());
    EXPECT_EQ(ModHtml().HostEditor, editor);
    EXPECT_EQ(ModuleList().Text(), "MOD Module1");

    // A second click and a Hide/Show keep the same window as it was: no second start-up.
    ModuleList().SetListIndex(1);
    menu.Click();
    EXPECT_EQ(Windows(), std::vector<frmAddIn*>{window});
    EXPECT_EQ(ModuleList().Text(), "MOD Module2");
    connect->Hide();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(connect->FormDisplayed());
    menu.Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ModuleList().Text(), "MOD Module2");

    // Closed by its own close box, the window is loaded anew by the next click.
    window->close();
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_TRUE(connect->FormDisplayed());
    menu.Click();
    EXPECT_EQ(Windows(), std::vector<frmAddIn*>{window});
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_EQ(ModuleList().Text(), "MOD Module1");
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, DisconnectionStoresWhetherTheWindowWasOpenAndLetsGoOfEverything)
{
    const struct {
        const char* what;
        void (*act)(ConnectTest&);
        const char* stored;
    } cases[] = {
        {"never opened", [](ConnectTest&) {}, "0"},
        {"opened", [](ConnectTest& t) { t.editor->SourceOf(MenuCaption).Click(); }, "1"},
        {"opened and hidden",
         [](ConnectTest& t) {
             t.editor->SourceOf(MenuCaption).Click();
             t.connect->Hide();
         },
         "0"},
        {"opened and closed by the user",
         [](ConnectTest& t) {
             t.editor->SourceOf(MenuCaption).Click();
             t.Windows().front()->close();
         },
         "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        connect = com::ComPtr<Connect>(new Connect);
        ConnectWith(AfterStartup);
        c.act(*this);
        auto source = editor->events->sources.begin()->second;
        Disconnect();
        EXPECT_EQ(StoredDisplayOnConnect(), c.stored);
        EXPECT_FALSE(connect->FormDisplayed());
        EXPECT_FALSE(connect->VBInstance());
        EXPECT_FALSE(connect->MenuHandler());
        EXPECT_FALSE(ModHtml().HostEditor);
        EXPECT_TRUE(Windows().empty());
        EXPECT_FALSE(source->bound());
        EXPECT_EQ(editor->AddIns().controls.size(), 1u);
        editor->events->sources.clear();

        // A second disconnection finds the flag cleared and reports nothing.
        Disconnect();
        EXPECT_EQ(StoredDisplayOnConnect(), "0");
    }
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, AStoredOneReopensTheWindowWhenTheAddInConnects)
{
    const struct {
        const char* stored;
        std::int32_t mode;
        bool openAfterConnection;
        bool openAfterStartup;
    } cases[] = {
        {"1", AfterStartup, true, true}, {"0", AfterStartup, false, false}, {"1", Startup, false, true},
        {"0", Startup, false, false},    {"1", External, false, true},      {"yes", AfterStartup, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " mode " + std::to_string(c.mode));
        StoreDisplayOnConnect(c.stored);
        connect = com::ComPtr<Connect>(new Connect);
        ConnectWith(c.mode);
        EXPECT_EQ(Windows().size(), c.openAfterConnection ? 1u : 0u);
        if (c.mode != AfterStartup) {
            EXPECT_EQ(connect->OnStartupComplete(custom), com::S_OK);
            EXPECT_EQ(Windows().size(), c.openAfterStartup ? 1u : 0u);
        }
        if (!Windows().empty()) {
            EXPECT_TRUE(Windows().front()->isVisible());
            EXPECT_TRUE(connect->FormDisplayed());
        }
        Disconnect();
    }
    EXPECT_TRUE(messages->messages.empty());
}

TEST_F(ConnectTest, ADamagedSettingsFileIsReportedAtConnectionAndKept)
{
    const std::string path = SettingsFilePath("Quillmark");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const std::string damaged = "[Settings]\nDisplayOnConnect\n";
    std::ofstream(path) << damaged;

    EXPECT_EQ(ConnectWith(AfterStartup), com::S_OK);
    ASSERT_EQ(messages->messages.size(), 1u);
    EXPECT_EQ(messages->messages[0].title, "Quillmark");
    EXPECT_NE(messages->messages[0].text.find(path), std::string::npos) << messages->messages[0].text;
    EXPECT_TRUE(connect->MenuHandler());
    EXPECT_TRUE(com::Failed(connect->OnStartupComplete(custom)));
    com::ExcepInfo info;
    ASSERT_EQ(connect.As<com::ISupportErrorInfo>(com::IID_ISupportErrorInfo)->GetErrorInfo(&info), com::S_OK);
    EXPECT_EQ(info.description, messages->messages[0].text);

    editor->SourceOf(MenuCaption).Click();
    Disconnect();
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
    EXPECT_EQ(messages->messages.size(), 1u);
}

TEST_F(ConnectTest, TheOtherNotificationsDoNothing)
{
    com::ExcepInfo info;
    EXPECT_EQ(connect->GetErrorInfo(&info), com::S_FALSE);
    ConnectWith(AfterStartup);
    EXPECT_EQ(connect->OnAddInsUpdate(custom), com::S_OK);
    EXPECT_EQ(connect->OnBeginShutdown(custom), com::S_OK);
    EXPECT_EQ(connect->OnStartupComplete(custom), com::S_OK);
    EXPECT_TRUE(Windows().empty());
    EXPECT_EQ(editor->AddIns().controls.size(), 2u);
}

TEST_F(ConnectTest, LateBoundClientsReachTheSameMembersByNameAndDispatchId)
{
    com::ComPtr<com::IDispatch> dispatch = connect.As<com::IDispatch>(com::IID_IDispatch);
    ASSERT_TRUE(dispatch);
    EXPECT_TRUE(connect.As<com::IDTExtensibility2>(com::IID_IDTExtensibility2));
    EXPECT_TRUE(connect.As<IConnect>(IID_Connect));

    using com::CallById;
    using com::CallByName;
    using com::Variant;
    auto application = com::WrapHostObject<VBE>(com::IID_VBE, editor);
    CallByName(*dispatch, "VBInstance", com::PropertyPutRef, {Variant(application)});
    EXPECT_EQ(connect->VBInstance(), editor);
    const Variant got = CallById(*dispatch, 0x40030001, com::PropertyGet);
    EXPECT_EQ(com::UnwrapHostObject<VBE>(com::IID_VBE, got.ToObject().Get()), editor);

    std::vector<Variant> caption{Variant(MenuCaption)};
    const Variant control = CallById(*dispatch, 0x60030006, com::Method, caption);
    auto added = com::UnwrapHostObject<CommandBarControl>(com::IID_CommandBarControl, control.ToObject().Get());
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Caption(), MenuCaption);

    auto source = editor->events->CommandBarEvents(added);
    CallById(*dispatch, 0x40030004, com::PropertyPutRef,
             {Variant(com::WrapHostObject<CommandBarEvents>(com::IID_CommandBarEvents, source))});
    EXPECT_EQ(connect->MenuHandler(), source);
    EXPECT_EQ(CallByName(*dispatch, "menuhandler", com::PropertyGet).ToObject().Get() != nullptr, true);

    EXPECT_EQ(CallById(*dispatch, 0x40030000, com::PropertyGet), Variant(false));
    CallById(*dispatch, 0x60030001, com::Method);
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(CallByName(*dispatch, "FormDisplayed", com::PropertyGet), Variant(true));
    CallByName(*dispatch, "Hide", com::Method);
    EXPECT_FALSE(Windows().front()->isVisible());
    CallById(*dispatch, 0x40030000, com::PropertyPut, {Variant(true)});
    EXPECT_TRUE(connect->FormDisplayed());

    CallById(*dispatch, 0x40030004, com::PropertyPutRef, {Variant::Nothing()});
    EXPECT_FALSE(connect->MenuHandler());
    EXPECT_THROW(CallById(*dispatch, 0x40030001, com::PropertyPutRef, {Variant(source.get() ? 1 : 0)}), RuntimeError);
}

} // namespace
} // namespace quillmark::test
