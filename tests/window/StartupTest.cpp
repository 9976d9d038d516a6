#include "WindowFixture.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

namespace quillmark::test {
namespace {

using Strings = std::vector<std::string>;

bool IsDisplayStatus(const std::string& status, const std::string& target)
{
    // Seconds as general number text: 0, 0.016, 1.5 (no exponent, no trailing zeros).
    const QRegularExpression pattern(QStringLiteral("^処理 (0|[1-9][0-9]*(\\.[0-9]*[1-9])?|0\\.[0-9]*[1-9]) 秒 : ") +
                                     QRegularExpression::escape(QString::fromStdString(target)) +
                                     QStringLiteral(" を表示しています$"));
    return pattern.match(QString::fromStdString(status)).hasMatch();
}

using StartupTest = WindowTest;

TEST_F(StartupTest, OpensOnTheActiveModule)
{
    OpenStandard();
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Items("List0"), (Strings{"Book1.xlsm", "Book2.xlsm"}));
    EXPECT_EQ(List("List0")->ListIndex(), 0);
    EXPECT_EQ(Items("List1"), (Strings{"MOD Module1", "CLS Class1", "MOD Broken"}));
    EXPECT_EQ(List("List1")->ListIndex(), 0);
    EXPECT_EQ(Items("List2"), (Strings{"*", "_Declarations_", "Hello", "Twice"}));
    EXPECT_EQ(List("List2")->ListIndex(), 0);
    EXPECT_TRUE(View("rtb2")->isVisible());
    EXPECT_FALSE(View("rtb1")->isVisible());
    EXPECT_EQ(ViewText("rtb2"), Joined(StandardModule().lines));
    EXPECT_EQ(View("rtb2")->textCursor().position(), 0);
    EXPECT_EQ(ViewText("rtb1"), "");
    EXPECT_EQ(Text("lbl4"), "モジュール: Module1 が選択されています");
    EXPECT_TRUE(IsDisplayStatus(Text("lbl5"), "Module1.*")) << Text("lbl5");
    EXPECT_EQ(StatusColour(), QApplication::palette().color(QPalette::ButtonText));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(StartupTest, OpensOnAClassInFront)
{
    OpenStandard("Class1");
    EXPECT_EQ(List("List1")->ListIndex(), 1);
    EXPECT_EQ(Items("List2"), (Strings{"*", "_Declarations_", "Property Get Size", "Property Let Size"}));
    EXPECT_EQ(ViewText("rtb2"), Joined(SizeClass().lines));
    EXPECT_EQ(Text("lbl4"), "モジュール: Class1 が選択されています");
    EXPECT_TRUE(IsDisplayStatus(Text("lbl5"), "Class1.*")) << Text("lbl5");
}

// Every way the start-up gives up: the window still opens, with nothing filled in.
TEST_F(StartupTest, GivesUpWithEmptyListsAndDesignCaptions)
{
    struct Case {
        const char* what;
        std::function<std::shared_ptr<VBE>(WindowTest&)> editor;
    };
    const std::vector<Case> cases{
        {"no project at all",
         [](WindowTest&) {
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{}, nullptr, nullptr);
         }},
        {"only locked projects",
         [this](WindowTest&) {
             auto locked = Project("Locked.xlsm", book1, 1);
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{locked}, locked, nullptr);
         }},
        {"locked active project beside a readable one",
         [this](WindowTest&) {
             auto locked = Project("Locked.xlsm", book1, 1);
             auto open = Project("Open.xlsm", book1);
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{locked, open}, locked,
                                                   nullptr);
         }},
        {"no active project",
         [this](WindowTest&) {
             auto open = Project("Open.xlsm", book1);
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{open}, nullptr, nullptr);
         }},
        {"active project without components",
         [this](WindowTest&) {
             auto empty = Project("Empty.xlsm", {});
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{empty}, empty, nullptr);
         }},
        {"active project whose components cannot be listed",
         [this](WindowTest&) {
             auto broken = std::make_shared<UnlistableProject>(ProjectPath("Broken.xlsm"));
             auto open = Project("Open.xlsm", book1);
             return std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{open, broken}, broken,
                                                   nullptr);
         }},
        {"two projects with the same bare file name",
         [this](WindowTest&) {
             auto first = Project("Same.xlsm", book1);
             QDir(folder.path()).mkdir("sub");
             auto second = Project("sub/Same.xlsm", book1);
             return std::make_shared<MemoryEditor>(
                 std::vector<std::shared_ptr<VBProject>>{first, second}, first,
                 std::make_shared<MemoryCodePane>(first->Components()->Item(1)->CodeModule()));
         }},
        {"no editor", [](WindowTest&) { return std::shared_ptr<VBE>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModHtml() = ModHtmlState{};
        window = std::make_unique<frmAddIn>();
        Open(c.editor(*this));
        EXPECT_TRUE(window->isVisible());
        for (const char* list : {"List0", "List1", "List2"})
            EXPECT_EQ(List(list)->count(), 0) << list;
        EXPECT_EQ(ViewText("rtb1"), "");
        EXPECT_EQ(ViewText("rtb2"), "");
        EXPECT_EQ(Text("lbl4"), "モジュール");
        EXPECT_EQ(Text("lbl5"), "処理");
        EXPECT_EQ(ModHtml().CurrentProject, nullptr);

        // Nothing is selected, so convert and show source do nothing, and nothing was copied yet.
        for (const char* button : {"cmd1", "cmd3", "cmd4"})
            Click(button);
        EXPECT_EQ(Text("lbl5"), "処理");
        EXPECT_TRUE(messages.messages.empty());
        window->Unload();
    }
}

TEST_F(StartupTest, WithoutActiveCodePaneListsFillButNothingIsSelected)
{
    auto first = Project("Book1.xlsm", book1);
    Open(Editor({first}, first, ""));
    EXPECT_EQ(Items("List0"), (Strings{"Book1.xlsm"}));
    EXPECT_EQ(List("List0")->ListIndex(), 0);
    EXPECT_EQ(Items("List1"), (Strings{"MOD Module1", "CLS Class1", "MOD Broken"}));
    EXPECT_EQ(List("List1")->ListIndex(), -1);
    EXPECT_EQ(List("List2")->count(), 0);
    EXPECT_EQ(ViewText("rtb2"), "");
    EXPECT_EQ(Text("lbl4"), "モジュール");

    // A module picked by hand shows its source, but without a keyword table it cannot convert.
    ClickRow("List1", 1);
    EXPECT_EQ(ViewText("rtb2"), Joined(SizeClass().lines));
    EXPECT_EQ(Text("lbl4"), "モジュール: Class1 が選択されています");
    const std::string status = Text("lbl5");
    Click("cmd1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], (RecordingMessageBox::Message{ModuleFailure, "Quillmark"}));
    EXPECT_EQ(Text("lbl5"), status);
}

TEST_F(StartupTest, WithoutActiveCodePaneAnEarlierModuleNameIsSelected)
{
    ModHtml().CurrentModuleName = "Class1";
    auto first = Project("Book1.xlsm", book1);
    Open(Editor({first}, first, ""));
    EXPECT_EQ(List("List1")->ListIndex(), 1);
    EXPECT_EQ(List("List2")->ListIndex(), 0);
    EXPECT_EQ(ViewText("rtb2"), Joined(SizeClass().lines));
    EXPECT_TRUE(IsDisplayStatus(Text("lbl5"), "Class1.*"));
}

TEST_F(StartupTest, ProjectClickFillsModulesAndShowsTheFirstModule)
{
    OpenStandard();
    ClickRow("List0", 1);
    EXPECT_EQ(Items("List1"), (Strings{"MOD Other"}));
    EXPECT_EQ(List("List1")->ListIndex(), 0);
    EXPECT_EQ(List("List2")->ListIndex(), 0);
    EXPECT_EQ(ViewText("rtb2"), Joined(StandardModule("Other").lines));
    EXPECT_EQ(Text("lbl4"), "モジュール: Other が選択されています");
    EXPECT_TRUE(IsDisplayStatus(Text("lbl5"), "Other.*"));

    ClickRow("List0", 0);
    EXPECT_EQ(List("List1")->count(), 3);
    EXPECT_EQ(ViewText("rtb2"), Joined(StandardModule().lines));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(StartupTest, ClickingTheCurrentProjectChangesNothing)
{
    OpenStandard();
    ClickRow("List1", 1);
    ClickRow("List2", 2);
    const std::string source = ViewText("rtb2");
    // Another row of the same project: selecting it is a change of selection but the same file.
    ClickRow("List0", 0);
    EXPECT_EQ(List("List1")->ListIndex(), 1);
    EXPECT_EQ(List("List2")->ListIndex(), 2);
    EXPECT_EQ(ViewText("rtb2"), source);
}

TEST_F(StartupTest, UnlistableProjectEmptiesModuleListsButKeepsTheView)
{
    auto first = Project("Book1.xlsm", book1);
    auto broken = std::make_shared<UnlistableProject>(ProjectPath("Broken.xlsm"));
    Open(Editor({first, broken}, first, "Module1"));
    const std::string source = ViewText("rtb2");
    const std::string status = Text("lbl5");

    ClickRow("List0", 1);
    EXPECT_EQ(List("List1")->count(), 0);
    EXPECT_EQ(List("List2")->count(), 0);
    EXPECT_EQ(ViewText("rtb2"), source);
    EXPECT_EQ(Text("lbl4"), "モジュール: Module1 が選択されています");
    EXPECT_EQ(Text("lbl5"), status);
    EXPECT_TRUE(messages.messages.empty());

    ClickRow("List0", 0);
    EXPECT_EQ(List("List1")->count(), 3);
    EXPECT_EQ(ViewText("rtb2"), source);
}

TEST_F(StartupTest, ProcedureEntriesShowTheirOwnLines)
{
    OpenStandard("Class1");
    const Strings lines = SizeClass().lines;
    const struct {
        int row;
        std::string source;
        std::string target;
    } cases[] = {
        {1, Joined(lines, 1, 2), "Class1._Declarations_"},
        {2, Joined(lines, 3, 5), "Class1.Property Get Size"},
        {3, Joined(lines, 6, 8), "Class1.Property Let Size"},
        {0, Joined(lines), "Class1.*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        ClickRow("List2", c.row);
        EXPECT_EQ(ViewText("rtb2"), c.source);
        EXPECT_TRUE(IsDisplayStatus(Text("lbl5"), c.target)) << Text("lbl5");
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(StartupTest, SelectingTheSelectedEntryRunsNothing)
{
    OpenStandard();
    Click("cmd5"); // the HTML view in front; a display would bring the source view back
    ClickRow("List2", 0);
    ClickRow("List2", 0, Qt::ControlModifier);
    EXPECT_TRUE(View("rtb1")->isVisible());
    EXPECT_EQ(List("List2")->ListIndex(), 0) << "the selection cannot be cleared";

    ClickRow("List2", 2);
    ClickRow("List1", 0);
    EXPECT_EQ(List("List2")->ListIndex(), 2) << "the module list was not refilled";
}

TEST_F(StartupTest, KeyboardSelectionRunsTheHandler)
{
    OpenStandard();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    List("List2")->setFocus();
    QTest::keyClick(List("List2"), Qt::Key_Down);
    EXPECT_EQ(List("List2")->ListIndex(), 1);
    EXPECT_EQ(ViewText("rtb2"), Joined(StandardModule().lines, 1, 4));
}

TEST_F(StartupTest, ModuleWithoutProceduresDeclaresEveryLine)
{
    book1 = {{"Consts", vbext_ct::StdModule, {"Option Explicit", "Public Const A = 1", "' end"}}};
    auto first = Project("Book1.xlsm", book1);
    Open(Editor({first}, first, "Consts"));
    EXPECT_EQ(Items("List2"), (Strings{"*", "_Declarations_"}));
    ClickRow("List2", 1);
    EXPECT_EQ(ViewText("rtb2"), Joined(book1[0].lines));
}

} // namespace
} // namespace quillmark::test
