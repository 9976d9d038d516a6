#include "window/qt/TextView.h"
#include "window/qt/ViewFiller.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace quillmark::test {
namespace {

// Texts with what the encoding could get wrong: line breaks at either end, Japanese, a
// no-break space, a character outside the basic plane.
const std::string Texts[] = {
    "",
    "a",
    "\r\n",
    "<p>x</p>\r\n<p>y</p>",
    "\r\n先頭と末尾の改行\r\n",
    "全角　スペース\xC2\xA0no-break\r\n\xF0\x9D\x84\x9E clef",
};

// An edit the user takes back: the text is as before, the document knows it was edited.
void EditAndTakeBack(QPlainTextEdit* view)
{
    QTextCursor cursor(view->document());
    cursor.insertText(QStringLiteral("x"));
    cursor.deletePreviousChar();
}

std::string Lines(int count, int shift = 0)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i > 0 ? "\r\n" : "") + std::string(200, static_cast<char>('a' + (i + shift) % 26));
    return text;
}

// Long enough to be filled in three slices after the first.
constexpr int LongLines = ViewFiller::FirstSliceLines + 2 * ViewFiller::SliceLines + 10;

bool WaitForBlocks(QPlainTextEdit* view, int count)
{
    return QTest::qWaitFor([&] { return view->document()->blockCount() == count; });
}

// The state a new text leaves, whoever set it.
void ExpectFreshText(QPlainTextEdit* view)
{
    EXPECT_EQ(view->textCursor().position(), 0);
    EXPECT_FALSE(view->textCursor().hasSelection());
    EXPECT_FALSE(view->document()->isUndoAvailable()) << "an undo would bring back the old text";
    EXPECT_FALSE(view->document()->isModified());
}

TEST(TextViewTest, TextReadsBackAsSetBeforeAndAfterAnEdit)
{
    QPlainTextEdit view;
    for (const std::string& text : Texts) {
        SCOPED_TRACE(text);
        SetViewText(&view, text);
        EXPECT_EQ(ViewText(&view), text);
        EditAndTakeBack(&view);
        EXPECT_EQ(ViewText(&view), text) << "read from the document";
    }
}

TEST(TextViewTest, NewTextReplacesEditsSelectionAndScrolling)
{
    QPlainTextEdit view;
    view.setLineWrapMode(QPlainTextEdit::NoWrap);
    view.resize(300, 200);
    view.show();
    SetViewText(&view, Lines(300));
    view.moveCursor(QTextCursor::End);
    view.textCursor().insertText(QStringLiteral("typed"));
    QTextCursor selection = view.textCursor();
    const int end = selection.position();
    selection.setPosition(5);
    selection.setPosition(end, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
    QApplication::processEvents();
    ASSERT_GT(view.verticalScrollBar()->value(), 0);
    ASSERT_GT(view.horizontalScrollBar()->value(), 0);

    SetViewText(&view, Lines(200));
    QApplication::processEvents();
    EXPECT_EQ(ViewText(&view), Lines(200));
    ExpectFreshText(&view);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

TEST(TextViewTest, AppendEqualsSettingTheJoinedText)
{
    struct Case {
        const char* name;
        std::string before;
        bool edited;
        std::string added;
    };
    const Case cases[] = {
        {"empty view", "", false, "\r\n<p>x</p>"},
        {"joins the last line", "<p>x", false, "</p>\r\n<p>y</p>"},
        {"after an edit", "<p>x</p>", true, "\r\n日本語\r\n"},
        {"nothing added", "<p>x</p>", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPlainTextEdit view;
        SetViewText(&view, c.before);
        std::string before = c.before;
        if (c.edited) {
            QTextCursor(view.document()).insertText(QStringLiteral("edit"));
            before = "edit" + before;
        }
        view.moveCursor(QTextCursor::End);
        AppendViewText(&view, c.added);
        EXPECT_EQ(ViewText(&view), before + c.added);
        ExpectFreshText(&view);
        EditAndTakeBack(&view);
        EXPECT_EQ(ViewText(&view), before + c.added) << "read from the document";
    }
}

TEST(TextViewTest, SettingTheAppendedTextAgainKeepsTheDocument)
{
    QPlainTextEdit view;
    SetViewText(&view, "a");
    AppendViewText(&view, "\r\nb");
    const int revision = view.document()->revision();
    view.moveCursor(QTextCursor::End);
    SetViewText(&view, "a\r\nb");
    EXPECT_EQ(view.document()->revision(), revision);
    EXPECT_EQ(view.textCursor().position(), 0);
}

TEST(TextViewTest, LongTextShowsItsFirstLinesAndFillsTheRestFromTheEventLoop)
{
    QPlainTextEdit view;
    const std::string text = Lines(LongLines);
    SetViewText(&view, text);
    EXPECT_EQ(view.document()->blockCount(), ViewFiller::FirstSliceLines + 1);
    EXPECT_EQ(ViewText(&view), text) << "all of it, filled or not";
    ASSERT_TRUE(WaitForBlocks(&view, LongLines));
    ExpectFreshText(&view);
    EditAndTakeBack(&view);
    EXPECT_EQ(ViewText(&view), text) << "read from the document";
}

TEST(TextViewTest, InputToTheViewFinishesTheFillingFirst)
{
    const std::string text = Lines(LongLines);
    struct Case {
        const char* name;
        std::function<void(QPlainTextEdit&)> input;
    };
    const Case cases[] = {
        {"key", [](QPlainTextEdit& view) { QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier); }},
        {"mouse", [](QPlainTextEdit& view) { QTest::mouseClick(view.viewport(), Qt::LeftButton); }},
        {"scroll bar", [](QPlainTextEdit& view) { QTest::mouseClick(view.verticalScrollBar(), Qt::LeftButton); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPlainTextEdit view;
        view.resize(300, 200);
        view.show();
        SetViewText(&view, text);
        c.input(view);
        EXPECT_EQ(view.document()->blockCount(), LongLines);
    }

    QPlainTextEdit view;
    SetViewText(&view, text);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&view, "x");
    EXPECT_EQ(ViewText(&view), text + "x") << "typed at the true end";
}

TEST(TextViewTest, NewOrAppendedTextDuringAFilling)
{
    const std::string first = Lines(LongLines);
    const std::string second = Lines(LongLines - 5, 1);
    QPlainTextEdit view;
    SetViewText(&view, first);
    SetViewText(&view, second);
    ASSERT_TRUE(WaitForBlocks(&view, LongLines - 5));
    EditAndTakeBack(&view);
    EXPECT_EQ(ViewText(&view), second) << "nothing of the first text";

    SetViewText(&view, first);
    AppendViewText(&view, "\r\n" + second);
    ASSERT_TRUE(WaitForBlocks(&view, 2 * LongLines - 5));
    ExpectFreshText(&view);
    EditAndTakeBack(&view);
    EXPECT_EQ(ViewText(&view), first + "\r\n" + second);
}

TEST(TextViewTest, ViewClosedDuringAFilling)
{
    auto view = std::make_unique<QPlainTextEdit>();
    SetViewText(view.get(), Lines(LongLines));
    view.reset();
    QApplication::processEvents(); // the filling's timer must not outlive its view
}

} // namespace
} // namespace quillmark::test
