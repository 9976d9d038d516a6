#include "WindowFixture.h"

#include "window/qt/FormLayout.h"
#include "window/qt/TextView.h"

#include <QApplication>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace quillmark::test {
namespace {

struct ControlSpec {
    const char* name;
    const char* kind;
    const char* caption;
    const char* tooltip;
    bool proportional;
    int left, top, width, height;
};

// In tab order.
const ControlSpec Controls[] = {
    {"cmd1", "QPushButton", "変換", "テキストを変換", true, 6960, 7920, 975, 375},
    {"cmd2", "QPushButton", "閉じる", "閉じる", true, 9720, 7920, 855, 375},
    {"List1", "quillmark::ListBox", "", "クリックで選択", true, 8040, 1350, 2535, 2220},
    {"List2", "quillmark::ListBox", "", "クリックでソースを表示", true, 8040, 3840, 2535, 3840},
    {"lbl2", "QLabel", "モジュールリスト", "", true, 8040, 1130, 1935, 255},
    {"lbl3", "QLabel", "プロシージャリスト", "", true, 8040, 3620, 1935, 255},
    {"cmd3", "QPushButton", "ｿｰｽｺｰﾄﾞ", "ソースコードを表示", true, 8160, 7920, 975, 375},
    {"cmd4", "QPushButton", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", "テキストをクリップボードへ転送", true, 5640, 7920, 1095, 375},
    {"lbl4", "QLabel", "モジュール", "", true, 120, 7800, 5415, 255},
    {"lbl5", "QLabel", "処理", "", true, 120, 8040, 5415, 375},
    {"Check1", "QCheckBox", "　リンクタグを先頭に生成", "", true, 5400, 50, 2295, 375},
    {"Check2", "QCheckBox", " 右端で折り返す", "", false, 240, 50, 1695, 375},
    {"Check3", "QCheckBox", " 追記モード", "", false, 3720, 50, 1575, 375},
    {"rtb1", "QPlainTextEdit", "", "", false, 120, 480, 7815, 7215},
    {"rtb2", "QPlainTextEdit", "", "", false, 120, 480, 7815, 7215},
    {"cmd5", "QPushButton", "編集", "", false, 2160, 70, 735, 320},
    {"List0", "quillmark::ListBox", "", "", true, 8040, 480, 2535, 600},
    {"Label1", "QLabel", "プロジェクトリスト", "", false, 8040, 240, 2055, 255},
};

QString Caption(QWidget* widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    return {};
}

class LayoutTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window = std::make_unique<frmAddIn>();
    }
};

TEST_F(LayoutTest, FreshWindowHasEveryControlAsDesigned)
{
    EXPECT_EQ(window->windowTitle(), "Quillmark");
    EXPECT_EQ(window->size(), QSize(714, 563));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window is not resizable";
    EXPECT_FALSE(window->IsLoaded());
    QWidget* client = Control<QWidget>("cmd1")->parentWidget();
    EXPECT_EQ(client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 18);

    for (const ControlSpec& control : Controls) {
        SCOPED_TRACE(control.name);
        auto* widget = Control<QWidget>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), client);
        EXPECT_STREQ(widget->metaObject()->className(), control.kind);
        EXPECT_EQ(Caption(widget).toStdString(), control.caption);
        EXPECT_EQ(widget->toolTip().toStdString(), control.tooltip);
        EXPECT_EQ(widget->geometry(),
                  QRect(Twips(control.left), Twips(control.top), Twips(control.width), Twips(control.height)));
        EXPECT_EQ(widget->font().family().toStdString(), control.proportional ? "ＭＳ Ｐゴシック" : "ＭＳ ゴシック");
        EXPECT_EQ(widget->font().pointSize(), 9);
        EXPECT_EQ(widget->font().weight(), QFont::Normal);
    }
}

TEST_F(LayoutTest, FontsResolveToInstalledJapaneseFonts)
{
    EXPECT_EQ(QFontInfo(View("rtb2")->font()).family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(Button("cmd1")->font()).family(), "IPAPGothic");
}

TEST_F(LayoutTest, FreshWindowStartsEmptyAndUnchecked)
{
    for (const char* name : {"Check1", "Check2", "Check3"})
        EXPECT_FALSE(Check(name)->isChecked()) << name;
    for (const char* name : {"List0", "List1", "List2"})
        EXPECT_EQ(List(name)->count(), 0) << name;
    EXPECT_EQ(ViewText("rtb1"), "");
    EXPECT_EQ(ViewText("rtb2"), "");
}

TEST_F(LayoutTest, ColoursOfLabelsCheckBoxesAndViews)
{
    for (const char* name : {"Label1", "lbl2", "lbl3", "lbl4", "lbl5", "Check1", "Check2", "Check3"})
        EXPECT_EQ(Control<QWidget>(name)->palette().color(QPalette::WindowText), QColor(0, 0, 0)) << name;
    EXPECT_EQ(View("rtb1")->palette().color(QPalette::Base), QColor(224, 224, 224));
    EXPECT_EQ(View("rtb2")->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

TEST_F(LayoutTest, ViewsShareOneRectangleAndDoNotWrap)
{
    EXPECT_EQ(View("rtb1")->geometry(), View("rtb2")->geometry());
    for (const char* name : {"rtb1", "rtb2"})
        EXPECT_EQ(View(name)->lineWrapMode(), QPlainTextEdit::NoWrap) << name;
}

TEST_F(LayoutTest, LongLineStaysWholeAndScrollsUntilWrapIsChecked)
{
    window->show();
    QPlainTextEdit* source = View("rtb2");
    SetViewText(source, std::string(600, 'x'));
    QApplication::processEvents();
    const auto lineCount = [source] {
        QTextBlock block = source->document()->firstBlock();
        return block.layout()->lineCount();
    };
    EXPECT_EQ(lineCount(), 1);
    EXPECT_GT(source->horizontalScrollBar()->maximum(), 0);

    QTest::mouseClick(Check("Check2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_GT(lineCount(), 1);
    EXPECT_EQ(source->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(View("rtb1")->lineWrapMode(), QPlainTextEdit::WidgetWidth) << "the hidden view wraps too";

    QTest::mouseClick(Check("Check2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(lineCount(), 1);
    for (const char* name : {"rtb1", "rtb2"})
        EXPECT_EQ(View(name)->lineWrapMode(), QPlainTextEdit::NoWrap) << name;
}

TEST_F(LayoutTest, TabFromConvertRunsThroughTheTabOrder)
{
    OpenStandard();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Button("cmd1")->setFocus();
    const std::vector<std::string> expected{"cmd2", "List1", "List2", "cmd3", "cmd4", "Check1"};
    for (const std::string& next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
    }
}

} // namespace
} // namespace quillmark::test
