#include "addin/Registration.h"
#include "addin/RegistrationEntries.h"
#include "platform/com/Registry.h"
#include "platform/settings/ConfigHomeGuard.h"
#include "platform/settings/Settings.h"
#include "platform/ui/MessageBox.h"
#include "programs/standin-editor/AddInManagerDialog.h"
#include "programs/standin-editor/EditorWindow.h"
#include "programs/standin-editor/RunEditor.h"

#include "base/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quillmark {
namespace {

using testing::ConfigHomeGuard;

const std::string Library = QUILLMARK_ADDIN_LIBRARY;
const std::string MenuCaption = "ｿｰｽをhtmlに変換する";

std::vector<std::string> MenuCaptions(QMenu* menu)
{
    std::vector<std::string> captions;
    for (QAction* action : menu->actions())
        captions.push_back(action->text().toStdString());
    return captions;
}

QAction* MenuAction(QMenu* menu, const std::string& caption)
{
    for (QAction* action : menu->actions())
        if (action->text().toStdString() == caption)
            return action;
    return nullptr;
}

// The converter windows of the add-in library (its own copy of the window class).
std::vector<QWidget*> ConverterWindows()
{
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("quillmark::frmAddIn"))
            windows.push_back(widget);
    return windows;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegisterAddIn(Library), 0);
        projects = OpenEditorProjects({QUILLMARK_SOURCE_DIR "/examples"});
    }

    // Ticks or clears the boxes of the add-in in a fresh Add-In Manager and presses OK.
    void Manage(EditorWindow& editor, bool loaded, bool startup)
    {
        AddInManagerDialog* manager = editor.OpenAddInManager();
        ASSERT_TRUE(manager);
        ASSERT_TRUE(manager->Select("Quillmark"));
        manager->LoadedBox()->setChecked(loaded);
        manager->StartupBox()->setChecked(startup);
        manager->accept();
    }

    ConfigHomeGuard home{"editor"};
    RecordingMessageBox messages;
    std::vector<std::shared_ptr<MemoryProject>> projects;
};

TEST_F(EditorTest, TheManagerLoadsTheAddInWhoseCommandOpensTheWindowOnTheActiveModule)
{
    ASSERT_EQ(projects.size(), 1u);
    const std::string project = projects.front()->FileName();
    auto editor = std::make_unique<EditorWindow>(projects);
    editor->show();
    ASSERT_TRUE(editor->SelectComponent(project, "TextTools"));
    EXPECT_EQ(MenuCaptions(editor->AddInsMenu()), std::vector<std::string>{"&Add-In Manager..."});

    AddInManagerDialog* manager = editor->OpenAddInManager();
    ASSERT_TRUE(manager);
    ASSERT_TRUE(manager->Select("Quillmark"));
    EXPECT_FALSE(manager->LoadedBox()->isChecked());
    EXPECT_FALSE(manager->StartupBox()->isChecked());
    EXPECT_EQ(manager->findChild<QLabel*>(QStringLiteral("Description"))->text().toStdString(),
              "ｿｰｽコードをhtml化します");
    manager->LoadedBox()->setChecked(true);
    manager->accept();
    ASSERT_TRUE(editor->Host().IsLoaded("Quillmark.Connect"));
    EXPECT_EQ(MenuCaptions(editor->AddInsMenu()), (std::vector<std::string>{"&Add-In Manager...", MenuCaption}));
    EXPECT_TRUE(ConverterWindows().empty());

    MenuAction(editor->AddInsMenu(), MenuCaption)->trigger();
    ASSERT_EQ(ConverterWindows().size(), 1u);
    QWidget* window = ConverterWindows().front();
    EXPECT_TRUE(window->isVisible());
    auto* modules = window->findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_TRUE(modules && modules->currentItem());
    EXPECT_EQ(modules->currentItem()->text().toStdString(), "MOD TextTools");
    auto* source = window->findChild<QPlainTextEdit*>(QStringLiteral("rtb2"));
    ASSERT_TRUE(source);
    const auto& module = projects.front()->Components()->Item("TextTools")->CodeModule();
    EXPECT_NE(source->toPlainText().toStdString().find(module->Lines(1, 1)), std::string::npos);

    // Unloading in the manager removes the command, closes the window and remembers it was open.
    Manage(*editor, false, false);
    EXPECT_FALSE(editor->Host().IsLoaded("Quillmark.Connect"));
    EXPECT_EQ(MenuCaptions(editor->AddInsMenu()), std::vector<std::string>{"&Add-In Manager..."});
    EXPECT_TRUE(ConverterWindows().empty());
    EXPECT_EQ(GetSetting("Quillmark", "Settings", "DisplayOnConnect"), "1");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(EditorTest, AnAddInMarkedForStartUpConnectsWithTheEditorAndLeavesWithIt)
{
    {
        EditorWindow editor(projects);
        Manage(editor, false, true);
        EXPECT_FALSE(editor.Host().IsLoaded("Quillmark.Connect"));
    }
    EXPECT_EQ(com::Registry().GetDword(AddInKey(), "LoadBehavior"), 1u);

    SaveSetting("Quillmark", "Settings", "DisplayOnConnect", "1");
    auto editor = std::make_unique<EditorWindow>(projects);
    editor->show();
    editor->LoadStartupAddIns();
    EXPECT_TRUE(editor->Host().IsLoaded("Quillmark.Connect"));
    EXPECT_EQ(MenuCaptions(editor->AddInsMenu()), (std::vector<std::string>{"&Add-In Manager...", MenuCaption}));
    // Start-up completion reopens the window that was open when the add-in last left.
    ASSERT_EQ(ConverterWindows().size(), 1u);
    EXPECT_TRUE(ConverterWindows().front()->isVisible());

    editor->close();
    EXPECT_FALSE(editor->Host().IsLoaded("Quillmark.Connect"));
    EXPECT_TRUE(ConverterWindows().empty());
    EXPECT_EQ(MenuCaptions(editor->AddInsMenu()), std::vector<std::string>{"&Add-In Manager..."});
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(EditorTest, AStartUpFailureOfTheAddInIsReportedWithItsCause)
{
    {
        EditorWindow editor(projects);
        Manage(editor, false, true);
    }
    const std::string settings = SettingsFilePath("Quillmark");
    std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
    std::ofstream(settings) << "DisplayOnConnect=1\n";

    EditorWindow editor(projects);
    editor.LoadStartupAddIns();
    EXPECT_TRUE(editor.Host().IsLoaded("Quillmark.Connect"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Add-In Manager");
    EXPECT_NE(messages.messages[0].text.find("OnStartupComplete"), std::string::npos) << messages.messages[0].text;
    EXPECT_NE(messages.messages[0].text.find(settings), std::string::npos) << messages.messages[0].text;
    EXPECT_TRUE(ConverterWindows().empty());
}

TEST_F(EditorTest, BrokenRegistrationsAreReportedAndLeftAsTheyWere)
{
    EditorWindow editor(projects);
    {
        // The registered library has gone away.
        com::Registry registry;
        WriteRegistration(registry, home.Path() + "/moved/libQuillmark.so");
        registry.Save();
    }
    Manage(editor, true, false);
    EXPECT_FALSE(editor.Host().IsLoaded("Quillmark.Connect"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Add-In Manager");
    EXPECT_NE(messages.messages[0].text.find(home.Path() + "/moved/libQuillmark.so"), std::string::npos)
        << messages.messages[0].text;

    // A damaged registry file: no manager, a message, the file untouched.
    messages.messages.clear();
    std::ofstream(com::Registry::DefaultPath(), std::ios::app) << "[broken\n";
    std::ifstream in(com::Registry::DefaultPath());
    const std::string damaged((std::istreambuf_iterator<char>(in)), {});
    EXPECT_FALSE(editor.OpenAddInManager());
    editor.LoadStartupAddIns();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_NE(messages.messages[0].text.find("registry.reg"), std::string::npos) << messages.messages[0].text;
    std::ifstream again(com::Registry::DefaultPath());
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), damaged);
}

TEST_F(EditorTest, TheAddInsBarAppendsButtonsThatReportTheirClicks)
{
    EditorWindow editor(projects);
    auto bars = editor.Editor()->CommandBars();
    EXPECT_FALSE(bars->Item("Standard"));
    auto bar = bars->Item("Add-Ins");
    ASSERT_TRUE(bar);
    EXPECT_THROW(bar->Controls()->Add(2), RuntimeError);
    auto first = bar->Controls()->Add(1);
    auto second = bar->Controls()->Add(1);
    first->SetCaption("One");
    second->SetCaption("Two");
    EXPECT_EQ(MenuCaptions(editor.AddInsMenu()), (std::vector<std::string>{"&Add-In Manager...", "One", "Two"}));

    int clicks = 0;
    std::shared_ptr<CommandBarControl> clicked;
    auto source = editor.Editor()->Events()->CommandBarEvents(second);
    source->SetClickHandler([&](const std::shared_ptr<CommandBarControl>& control, bool&, bool&) {
        ++clicks;
        clicked = control;
    });
    MenuAction(editor.AddInsMenu(), "Two")->trigger();
    MenuAction(editor.AddInsMenu(), "One")->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clicked, second);
    source->SetClickHandler({});
    MenuAction(editor.AddInsMenu(), "Two")->trigger();
    EXPECT_EQ(clicks, 1);

    second->Delete();
    EXPECT_EQ(MenuCaptions(editor.AddInsMenu()), (std::vector<std::string>{"&Add-In Manager...", "One"}));
    EXPECT_THROW(second->Delete(), RuntimeError);
    EXPECT_THROW(second->Caption(), RuntimeError);

    class Foreign final : public CommandBarControl {
        std::string Caption() override { return {}; }
        void SetCaption(const std::string&) override {}
        void Delete() override {}
    };
    EXPECT_THROW(editor.Editor()->Events()->CommandBarEvents(std::make_shared<Foreign>()), RuntimeError);
    EXPECT_THROW(editor.Editor()->Events()->CommandBarEvents(nullptr), RuntimeError);
}

TEST_F(EditorTest, TheExplorerListsComponentsAndTheCodePaneIsTheActiveOne)
{
    EditorWindow editor(projects);
    auto vbe = editor.Editor();
    EXPECT_EQ(vbe->ActiveVBProject(), projects.front());
    EXPECT_EQ(vbe->ActiveCodePane()->CodeModule()->Name(), "BookKeeping");
    ASSERT_TRUE(editor.SelectComponent(projects.front()->FileName(), "Ledger"));
    EXPECT_EQ(vbe->ActiveCodePane()->CodeModule()->Name(), "Ledger");
    EXPECT_FALSE(editor.SelectComponent(projects.front()->FileName(), "Missing"));
    EXPECT_EQ(vbe->ActiveCodePane()->CodeModule()->Name(), "Ledger");
    auto* pane = editor.findChild<QPlainTextEdit*>(QStringLiteral("CodePane"));
    const auto& ledger = projects.front()->Components()->Item("Ledger")->CodeModule();
    EXPECT_EQ(pane->toPlainText().toStdString().substr(0, ledger->Lines(1, 1).size()), ledger->Lines(1, 1));

    for (const auto& [type, name] : {std::pair{1, "Module"}, {2, "Class Module"}, {3, "UserForm"}, {100, "Document"}})
        EXPECT_EQ(ComponentTypeName(type), name);
    EXPECT_THROW(OpenEditorProjects({home.Path() + "/nothing-here"}), std::runtime_error);
}

} // namespace
} // namespace quillmark
