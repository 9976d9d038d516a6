#include "window/qt/TextView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

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

// The window times the setting of a view's text: all of it is in the document when the call
// returns, with nothing left for the event loop.
TEST(TextViewTest, LongTextIsWholeInTheDocumentWhenTheCallReturns)
{
    constexpr int LongLines = 20000;
    const std::string first = Lines(LongLines);
    const std::string second = Lines(LongLines - 5, 1);
    QPlainTextEdit view;
    SetViewText(&view, first);
    EXPECT_EQ(view.document()->blockCount(), LongLines);
    AppendViewText(&view, "\r\n" + second);
    EXPECT_EQ(view.document()->blockCount(), 2 * LongLines - 5);
    ExpectFreshText(&view);
    EditAndTakeBack(&view);
    EXPECT_EQ(ViewText(&view), first + "\r\n" + second) << "read from the document";
}

} // namespace
} // namespace quillmark::test
