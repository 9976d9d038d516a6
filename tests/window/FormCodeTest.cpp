// The window's code over fake controls: the paths that a toolkit makes slow or hard to reach.
#include "window/FormCode.h"
#include "base/RuntimeError.h"
#include "common/TempFolder.h"
#include "modhtml/ModHtml.h"
#include "modhtml/SharedSetProcedures.h"
#include "platform/ui/MessageBox.h"
#include "sources/MemorySource.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace quillmark::test {
namespace {

class FakeList final : public IListBox {
public:
    void AddItem(const std::string& text) override
    {
        if (fails)
            throw RuntimeError(err::InvalidCall);
        items.push_back(text);
    }
    void Clear() override
    {
        items.clear();
        index = -1;
    }
    int ListCount() const override { return static_cast<int>(items.size()); }
    int ListIndex() const override { return index; }
    void SetListIndex(int row) override
    {
        if (row == index || row < 0 || row >= ListCount())
            return;
        index = row;
        Click();
    }
    std::string Text() const override { return ItemText(index); }
    std::string ItemText(int row) const override { return row >= 0 && row < ListCount() ? items[row] : ""; }

    std::vector<std::string> items;
    int index = -1;
    bool fails = false;
    std::function<void()> Click;
};

struct FakeCheck final : ICheckBox {
    bool Value() const override { return checked; }
    bool checked = false;
};

struct FakeLabel final : ILabel {
    void SetCaption(const std::string& text) override { caption = text; }
    void SetForeColor(OleColor value) override { colour = value; }
    std::string caption;
    OleColor colour = 0;
};

struct FakeView final : ITextView {
    std::string Text() const override { return text; }
    void SetText(const std::string& value) override { text = value; }
    void AppendText(const std::string& value) override { text += value; }
    void SetCaretToStart() override { caretAtStart = true; }
    void SetRightMargin(float twips) override { margin = twips; }
    void SetVisible(bool value) override { visible = value; }
    void SetFocus() override { focused = true; }
    std::string text;
    bool caretAtStart = false;
    float margin = WideRightMargin;
    bool visible = false;
    bool focused = false;
};

struct FakeClipboard final : IClipboard {
    void Clear() override
    {
        if (fails)
            throw RuntimeError(err::ObjectRequired);
        text = "";
    }
    void SetText(const std::string& value, const std::string& htmlValue) override
    {
        text = value;
        html = htmlValue;
    }
    std::optional<std::string> text; // none: never touched
    std::string html;
    bool fails = false;
};

struct FakeControls {
    FakeList List0, List1, List2;
    FakeCheck Check1, Check2, Check3;
    FakeLabel lbl4, lbl5;
    FakeView rtb1, rtb2;
};

const std::vector<std::string> Module1{"Option Explicit", "Dim counter As Long", "Sub Hello()", "    counter = 1",
                                       "End Sub"};
const std::vector<std::string> Broken{"Sub Oops()", "    s = \"unterminated text", "End Sub"};

const RecordingMessageBox::Message ModuleFailure{"Quillmarkはモジュールの取得に失敗しました。\r\n"
                                                 "複数のファイルには対応しておりません。\r\n"
                                                 "Quillmarkを再起動してください。",
                                                 "Quillmark"};

// The window's code over fake controls and a fake window; the clock moves 47 ms a reading.
class FormCodeTest : public ::testing::Test, public IFormWindow {
protected:
    void SetUp() override { ModHtml() = ModHtmlState{}; }
    void TearDown() override
    {
        code.Unload();
        ModHtml() = ModHtmlState{};
    }

    FormControls NewControls() override
    {
        c = std::make_unique<FakeControls>();
        c->List0.Click = [this] { code.List0_Click(); };
        c->List1.Click = [this] { code.List1_Click(); };
        c->List2.Click = [this] { code.List2_Click(); };
        return {&c->List0,  &c->List1, &c->List2, &c->Check1, &c->Check2,
                &c->Check3, &c->lbl4,  &c->lbl5,  &c->rtb1,   &c->rtb2};
    }
    void ShowWindow() override { shown = true; }
    void HideWindow() override { shown = false; }
    void CloseWindow() override
    {
        shown = false;
        code.QueryUnload(); // as a toolkit's window does when it is asked to close
    }
    std::string DecimalSeparator() const override { return decimalSeparator; }

    // Book1.xlsm with Module1 and Broken, Module1 in front.
    void Open()
    {
        std::vector<std::shared_ptr<MemoryComponent>> components;
        for (const auto& [name, lines] : {std::pair{"Module1", Module1}, std::pair{"Broken", Broken}})
            components.push_back(std::make_shared<MemoryComponent>(
                vbext_ct::StdModule, std::make_shared<MemoryCodeModule>(name, ModuleText::FromLines(lines))));
        auto project = std::make_shared<MemoryProject>(folder.Write("Book1.xlsm", ""), components);
        auto pane = std::make_shared<MemoryCodePane>(components.front()->CodeModule());
        Open(std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project}, project, pane));
    }
    void Open(std::shared_ptr<VBE> editor)
    {
        ModHtml().HostEditor = std::move(editor);
        code.Show();
    }

    std::string Html(const std::string& entry, std::int32_t first, std::int32_t last)
    {
        return ConvertToHtml(ModHtml().CurrentProject, entry, first, last, false);
    }

    testing::TempFolder folder{"form-code"};
    RecordingMessageBox messages;
    FakeClipboard clipboard;
    std::uint32_t tick = 1000;
    std::unique_ptr<FakeControls> c;
    std::string decimalSeparator = ".";
    FormCode code{*this, clipboard, NewControls(), [this] { return tick += 47; }};
    bool shown = false;
};

TEST_F(FormCodeTest, StartupAndConvertReportExactSeconds)
{
    Open();
    EXPECT_TRUE(shown);
    EXPECT_EQ(c->List2.items, (std::vector<std::string>{"*", "_Declarations_", "Hello"}));
    EXPECT_EQ(c->rtb2.text, "Option Explicit\r\nDim counter As Long\r\nSub Hello()\r\n    counter = 1\r\nEnd Sub");
    EXPECT_EQ(c->lbl5.caption, "処理 0.047 秒 : Module1.* を表示しています");
    EXPECT_EQ(c->lbl5.colour, vbButtonText);

    const std::string html = Html("*", 1, 5);
    c->rtb1.caretAtStart = false;
    code.cmd1_Click();
    EXPECT_EQ(c->rtb1.text, html);
    EXPECT_TRUE(c->rtb1.visible && c->rtb1.caretAtStart && !c->rtb2.visible);
    EXPECT_EQ(c->lbl5.caption, "処理 0.047 秒 : Module1.* を変換しました");
    EXPECT_EQ(c->lbl5.colour, vbBlue);

    c->Check3.checked = true;
    c->List2.SetListIndex(2);
    code.cmd1_Click();
    EXPECT_EQ(c->rtb1.text, html + "\r\n" + Html("Hello", 3, 5));

    // The seconds in the user's locale, read when the status is written.
    decimalSeparator = ",";
    code.cmd3_Click();
    EXPECT_EQ(c->lbl5.caption, "処理 0,047 秒 : Module1.Hello を表示しています");
    EXPECT_TRUE(messages.messages.empty());
}

// Beside the view's text, the copy carries the conversions that filled the view, styled inline,
// even after another module has been chosen; a fresh view has none, and an edited one none until
// a conversion fills it anew, since the HTML would paste the code as it was before the edit.
TEST_F(FormCodeTest, CopyAddsTheConvertedCodeStyledInline)
{
    const auto styled = [](const std::string& entry, std::int32_t first, std::int32_t last, bool links) {
        return ConvertToInlineHtml(ModHtml().CurrentProject, entry, first, last, links);
    };
    Open();
    code.cmd4_Click();
    EXPECT_EQ(clipboard.html, "");

    c->Check1.checked = true;
    code.cmd1_Click();
    code.cmd4_Click();
    const std::string whole = styled("*", 1, 5, true);
    EXPECT_EQ(clipboard.html, whole);
    EXPECT_NE(whole.find("white-space: pre"), std::string::npos);
    EXPECT_EQ(whole.find("class="), std::string::npos);

    c->Check1.checked = false;
    c->List2.SetListIndex(2);
    const std::string hello = styled("Hello", 3, 5, false);
    const struct {
        bool edit;
        bool append;
        std::string html;
    } steps[] = {
        {true, false, ""}, // the copy of the edited view
        {false, true, ""}, // the edit stays in the view appended to
        {false, false, hello},
        {false, true, hello + "\r\n" + hello},
    };
    for (const auto& step : steps) {
        c->Check3.checked = step.append;
        if (step.edit)
            c->rtb1.text += "<p>edit</p>";
        else
            code.cmd1_Click();
        code.cmd4_Click();
        EXPECT_EQ(clipboard.text, c->rtb1.text);
        EXPECT_EQ(clipboard.html, step.html) << step.edit << step.append;
    }
    c->List1.SetListIndex(1);
    code.cmd4_Click();
    EXPECT_EQ(clipboard.html, hello + "\r\n" + hello);

    code.Unload();
    Open();
    code.cmd4_Click();
    EXPECT_EQ(clipboard.html, "");
    EXPECT_TRUE(messages.messages.empty());
}

// Each failure shows its one message; the HTML view and the status line keep what they had.
TEST_F(FormCodeTest, FailuresShowTheirMessageAndKeepTheHtml)
{
    const auto select = [](FakeList& list, const std::string& entry) {
        list.AddItem(entry);
        list.SetListIndex(list.ListCount() - 1);
    };
    struct Case {
        const char* what;
        std::function<void()> prepare, fail;
        RecordingMessageBox::Message message;
    };
    const Case cases[] = {
        {"conversion fails", [&] { c->List1.SetListIndex(1); }, [&] { code.cmd1_Click(); }, ModuleFailure},
        {"conversion fails in append mode",
         [&] {
             c->List1.SetListIndex(1);
             c->Check3.checked = true;
         },
         [&] { code.cmd1_Click(); }, ModuleFailure},
        {"entry not in the index", [] {}, [&] { select(c->List2, "Nowhere"); }, ModuleFailure},
        {"conversion of an entry not in the index",
         [&] {
             select(c->List2, "Nowhere");
             messages.messages.clear();
         },
         [&] { code.cmd1_Click(); }, ModuleFailure},
        {"project not in the collection",
         [] {},
         [&] { select(c->List0, "Nowhere.xlsm"); },
         {ErrorReport(RuntimeError(err::InvalidCall)), "frmAddIn.List0_Click"}},
        {"clipboard fails",
         [&] { clipboard.fails = true; },
         [&] { code.cmd4_Click(); },
         {ErrorReport(RuntimeError(err::ObjectRequired)), "frmAddIn.cmd4_Click"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Open();
        code.cmd1_Click();
        const std::string html = c->rtb1.text;
        test.prepare();
        const std::string status = c->lbl5.caption;
        test.fail();
        EXPECT_EQ(messages.messages, std::vector{test.message});
        EXPECT_EQ(c->rtb1.text, html);
        EXPECT_EQ(c->lbl5.caption, status);
        code.Unload();
        messages.messages.clear();
        clipboard.fails = false;
    }
}

TEST_F(FormCodeTest, FailingStartupReportsAndGivesUp)
{
    c->List0.fails = true;
    Open();
    EXPECT_EQ(messages.messages, (std::vector<RecordingMessageBox::Message>{
                                     {ErrorReport(RuntimeError(err::InvalidCall)), "frmAddIn.Form_Load"}}));
    EXPECT_EQ(ModHtml().CurrentProject, nullptr);
    EXPECT_TRUE(shown && code.IsLoaded()) << "the window opens all the same";
}

// "閉じる" forgets the last display, so after reopening over nothing the copy does nothing.
TEST_F(FormCodeTest, CloseForgetsTheLastDisplayAndReopensWithNewControls)
{
    Open();
    c->Check2.checked = true;
    code.Check2_Click();
    EXPECT_EQ(c->rtb1.margin, 0.0f);
    EXPECT_EQ(c->rtb2.margin, 0.0f);
    code.cmd2_Click();
    EXPECT_FALSE(shown || code.IsLoaded());
    EXPECT_FALSE(ModHtml().ProjectCollection.has_value());

    Open(std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{}, nullptr, nullptr));
    EXPECT_EQ(c->rtb1.margin, WideRightMargin) << "design-time controls again";
    code.cmd4_Click();
    code.cmd1_Click();
    EXPECT_EQ(clipboard.text, std::nullopt);
    EXPECT_FALSE(c->rtb1.visible);
    EXPECT_EQ(c->lbl5.caption, "");
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace quillmark::test
