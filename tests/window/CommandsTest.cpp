#include "WindowFixture.h"

#include "modhtml/SharedSetProcedures.h"
#include "window/NumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "window/qt/GuiMessageBox.h"

#include <algorithm>

namespace quillmark::test {
namespace {

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class CommandsTest : public WindowTest {
protected:
    // What the converter gives for an entry of the current module.
    std::string Expected(const std::string& entry, bool links)
    {
        LineRange range = GetEntryRange(entry);
        return ConvertToHtml(ModHtml().CurrentProject, entry, range.FirstLine, range.LastLine, links);
    }
    void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
};

TEST_F(CommandsTest, ConvertShowsExactlyTheConvertersResult)
{
    OpenStandard();
    Button("cmd1")->setFocus();
    QWidget* focus = window->focusWidget();
    for (const bool links : {false, true}) {
        SCOPED_TRACE(links);
        Check("Check1")->setChecked(links);
        Click("cmd1");
        EXPECT_TRUE(View("rtb1")->isVisible());
        EXPECT_FALSE(View("rtb2")->isVisible());
        EXPECT_EQ(ViewText("rtb1"), Expected("*", links));
        EXPECT_EQ(View("rtb1")->textCursor().position(), 0);
        EXPECT_EQ(StatusColour(), Blue);
        EXPECT_TRUE(Text("lbl5").starts_with("処理 ")) << Text("lbl5");
        EXPECT_TRUE(EndsWith(Text("lbl5"), " 秒 : Module1.* を変換しました")) << Text("lbl5");
        EXPECT_EQ(window->focusWidget(), focus);
    }
    EXPECT_NE(Expected("*", true), Expected("*", false)) << "the link option reaches the converter";
    EXPECT_TRUE(messages.messages.empty());
}

// The status line times the whole setting of the view, and writes its seconds as the window's
// locale does.
TEST_F(CommandsTest, ALongConversionIsWholeWhenTheClickEndsAndTimedInTheLocalesNumbers)
{
    ModuleSpec module{"Long", vbext_ct::StdModule, {}};
    for (int i = 0; i < 20000; ++i)
        module.lines.push_back("Dim v" + std::to_string(i) + " As Long ' one of many");
    const auto project = Project("Long.xlsm", {module});
    window = std::make_unique<frmAddIn>();
    window->setLocale(QLocale(QLocale::German, QLocale::Germany));
    Open(Editor({project}, project, "Long"));
    Button("cmd1")->click();
    const std::string html = Expected("*", false);
    EXPECT_EQ(View("rtb1")->document()->blockCount(), std::count(html.begin(), html.end(), '\n') + 1);
    const QRegularExpression status(QStringLiteral("^処理 [0-9]+,[0-9]*[1-9] 秒 : Long\\.\\* を変換しました$"));
    EXPECT_TRUE(status.match(QString::fromStdString(Text("lbl5"))).hasMatch()) << Text("lbl5");
}

TEST_F(CommandsTest, ConvertOfOneProcedure)
{
    OpenStandard("Class1");
    ClickRow("List2", 3);
    Click("cmd1");
    EXPECT_EQ(ViewText("rtb1"), Expected("Property Let Size", false));
    EXPECT_TRUE(EndsWith(Text("lbl5"), " 秒 : Class1.Property Let Size を変換しました")) << Text("lbl5");
}

TEST_F(CommandsTest, AppendModeJoinsResultsWithCrLf)
{
    OpenStandard();
    Check("Check3")->setChecked(true);
    const std::string whole = Expected("*", false);
    Click("cmd1");
    EXPECT_EQ(ViewText("rtb1"), "\r\n" + whole) << "an empty view leaves a leading empty line";

    ClickRow("List2", 2);
    Click("cmd1");
    EXPECT_EQ(ViewText("rtb1"), "\r\n" + whole + "\r\n" + Expected("Hello", false));
}

TEST_F(CommandsTest, FailingConversionKeepsTheOldHtmlAndStatus)
{
    OpenStandard();
    Click("cmd1");
    const std::string html = ViewText("rtb1");

    for (const bool append : {false, true}) {
        SCOPED_TRACE(append);
        messages.messages.clear();
        Check("Check3")->setChecked(append);
        ClickRow("List1", 2); // Broken: its source still shows
        EXPECT_EQ(ViewText("rtb2"), Joined(BrokenModule().lines));
        const std::string shown = Text("lbl5");
        Click("cmd1");
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0], (RecordingMessageBox::Message{ModuleFailure, "Quillmark"}));
        EXPECT_EQ(ViewText("rtb1"), html);
        EXPECT_EQ(Text("lbl5"), shown);
        ClickRow("List1", 0);
    }
}

TEST_F(CommandsTest, ShowSourceOfDeclarationsFocusesTheSourceView)
{
    OpenStandard();
    Click("cmd5");
    ClickRow("List2", 1);
    Click("cmd1");
    Click("cmd3");
    EXPECT_TRUE(View("rtb2")->isVisible());
    EXPECT_FALSE(View("rtb1")->isVisible());
    EXPECT_EQ(ViewText("rtb2"), Joined(StandardModule().lines, 1, 4));
    EXPECT_EQ(window->focusWidget(), View("rtb2"));
    EXPECT_EQ(View("rtb2")->textCursor().position(), 0);
    EXPECT_EQ(StatusColour(), Blue);
    EXPECT_TRUE(EndsWith(Text("lbl5"), " 秒 : Module1._Declarations_ を表示しています")) << Text("lbl5");
}

TEST_F(CommandsTest, CopyRightAfterOpeningCopiesTheEmptyHtmlView)
{
    OpenStandard();
    SetClipboard("left over");
    Click("cmd4");
    EXPECT_TRUE(View("rtb1")->isVisible());
    EXPECT_FALSE(View("rtb2")->isVisible());
    EXPECT_EQ(Clipboard(), "");
    EXPECT_EQ(StatusColour(), Red);
    EXPECT_EQ(Text("lbl5"), "Module1.*を転送しました");
}

TEST_F(CommandsTest, CopyTakesTheWholeViewWhateverIsSelected)
{
    OpenStandard();
    Click("cmd1");
    QTextCursor cursor = View("rtb1")->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    View("rtb1")->setTextCursor(cursor);
    Click("cmd4");
    EXPECT_EQ(Clipboard(), Expected("*", false));
    EXPECT_EQ(Text("lbl5"), "Module1.*を転送しました");

    // The same code styled inline, beside the plain text, for targets that paste HTML.
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text().toStdString(), Expected("*", false));
    ASSERT_TRUE(copied->hasHtml());
    LineRange range = GetEntryRange("*");
    EXPECT_EQ(copied->html().toStdString(),
              ConvertToInlineHtml(ModHtml().CurrentProject, "*", range.FirstLine, range.LastLine, false));
}

TEST_F(CommandsTest, EditThenCopyTakesTheUsersText)
{
    OpenStandard();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Click("cmd1");
    const std::string html = ViewText("rtb1");
    Click("cmd5");
    EXPECT_TRUE(View("rtb1")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), View("rtb1"));
    View("rtb1")->moveCursor(QTextCursor::End);
    QTest::keyClicks(View("rtb1"), "<p>edit</p>");
    QTest::keyClick(View("rtb1"), Qt::Key_Return);
    QTest::keyClicks(View("rtb1"), "x");
    Click("cmd4");
    EXPECT_EQ(Clipboard(), html + "<p>edit</p>\r\nx");

    // An append-mode conversion extends the edited text.
    Check("Check3")->setChecked(true);
    Click("cmd1");
    EXPECT_EQ(ViewText("rtb1"), html + "<p>edit</p>\r\nx\r\n" + html);
}

TEST_F(CommandsTest, ConvertingAgainReplacesEditsAndResetsTheCaret)
{
    OpenStandard();
    Click("cmd1");
    const std::string html = ViewText("rtb1");
    View("rtb1")->moveCursor(QTextCursor::End);
    Click("cmd1");
    EXPECT_EQ(View("rtb1")->textCursor().position(), 0);

    // An edit that leaves the same text behind still counts as an edit.
    View("rtb1")->moveCursor(QTextCursor::End);
    QTest::keyClicks(View("rtb1"), "x");
    QTest::keyClick(View("rtb1"), Qt::Key_Backspace);
    QTest::keyClicks(View("rtb1"), "y");
    Click("cmd1");
    EXPECT_EQ(ViewText("rtb1"), html);
    EXPECT_EQ(View("rtb1")->textCursor().position(), 0);
}

TEST_F(CommandsTest, CloseAndReopen)
{
    struct Case {
        const char* how;
        bool copyActsAfterReopening; // LastModule survives the close box, not "閉じる"
    };
    for (const Case c : {Case{"close box", true}, Case{"cmd2", false}}) {
        SCOPED_TRACE(c.how);
        ModHtml() = ModHtmlState{};
        window = std::make_unique<frmAddIn>();
        OpenStandard();
        Check("Check2")->setChecked(true);
        Click("cmd1");
        if (std::string(c.how) == "cmd2")
            Click("cmd2");
        else
            window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->IsLoaded());
        EXPECT_FALSE(ModHtml().ProjectCollection.has_value());
        EXPECT_FALSE(ModHtml().ModuleCollection.has_value());
        EXPECT_EQ(ModHtml().CurrentProject, nullptr);
        EXPECT_EQ(ModHtml().Keywords, nullptr);
        EXPECT_EQ(ModHtml().CurrentModuleName, "Module1") << "kept across the close";

        // Reopened over an editor without projects: the names are all that is left.
        Open(std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{}, nullptr, nullptr));
        EXPECT_TRUE(window->IsLoaded());
        EXPECT_FALSE(Check("Check2")->isChecked()) << "controls come back as designed";
        EXPECT_EQ(View("rtb1")->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_EQ(ViewText("rtb1"), "");
        SetClipboard("left over");
        Click("cmd4");
        EXPECT_EQ(Text("lbl5"), c.copyActsAfterReopening ? "Module1.*を転送しました" : "処理");
        EXPECT_EQ(Clipboard(), c.copyActsAfterReopening ? "" : "left over");
        window->Unload();

        // Reopened over the projects again: the start-up display lets the copy act at once.
        OpenStandard();
        EXPECT_EQ(List("List1")->ListIndex(), 0);
        Click("cmd4");
        EXPECT_EQ(Text("lbl5"), "Module1.*を転送しました");
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CommandsTest, HideKeepsTheWindowLoaded)
{
    OpenStandard();
    ClickRow("List2", 3);
    Click("cmd1");
    const std::string html = ViewText("rtb1");
    window->Hide();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->IsLoaded());
    window->Show();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(List("List2")->ListIndex(), 3) << "no second start-up";
    EXPECT_EQ(ViewText("rtb1"), html);
    EXPECT_TRUE(View("rtb1")->isVisible());
}

TEST_F(CommandsTest, EveryControlInAnyOrderBeforeAnythingIsSelected)
{
    auto first = Project("Book1.xlsm", book1);
    Open(Editor({first}, first, ""));
    for (const char* name : {"cmd1", "cmd3", "cmd4", "cmd5", "Check1", "Check2", "Check3", "cmd1", "cmd3", "cmd4"}) {
        SCOPED_TRACE(name);
        QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton);
    }
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(Text("lbl5"), "処理");
    EXPECT_TRUE(View("rtb1")->isVisible()) << "edit showed the HTML view";
    Click("cmd2");
    EXPECT_FALSE(window->IsLoaded());
}

TEST(NumberTextTest, GeneralNumberTextWithTheLocalesSeparator)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},   {0.016, "0.016"},   {1.5, "1.5"},         {2.0, "2"},
        {0.1, "0.1"}, {12.345, "12.345"}, {100000.0, "100000"}, {1234.567, "1234.567"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(NumberText(value, "."), text) << value;
    // Any separator, even one of two bytes (U+066B, the Arabic decimal separator).
    EXPECT_EQ(NumberText(0.016, ","), "0,016");
    EXPECT_EQ(NumberText(1234.5, "\u066B"), "1234\u066B5");
    EXPECT_EQ(NumberText(2.0, ","), "2");
}

// The GUI message box: modal over its owner, the given text and title, OK only, no icon.
TEST(GuiMessageBoxTest, ShowsAModalBoxWithOkOnly)
{
    QWidget owner;
    owner.show();
    GuiMessageBox box(&owner);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QAbstractButton*> buttons;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        title = shown->windowTitle();
        text = shown->text();
        icon = shown->icon();
        buttons = shown->buttons();
        modal = shown->isModal() && shown->parentWidget() == &owner;
        if (!buttons.isEmpty())
            buttons.first()->click();
    });
    box.Show("一行目\r\n二行目", "Quillmark");
    EXPECT_EQ(title, "Quillmark");
    EXPECT_EQ(text, "一行目\n二行目");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_TRUE(modal);
}

} // namespace
} // namespace quillmark::test
