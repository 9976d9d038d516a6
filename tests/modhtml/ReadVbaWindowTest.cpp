#include "modhtml/SharedSetProcedures.h"

#include "modhtml/ModHtml.h"
#include "modhtml/TestProjects.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillmark {
namespace {

using namespace quillmark::testing;

TEST(ReadVbaWindow, ReadsRangesOfTheCurrentModule)
{
    ResetModHtml();
    RecordingMessageBox box;
    const auto project = Project("p", {Module("A", {"a1", "a2", "a3"}), Module("B", {"b1", "b2"})});
    ModHtml().CurrentModuleName = "A";
    EXPECT_EQ(ReadVbaWindow(project, 1, 3), "a1\r\na2\r\na3");
    EXPECT_EQ(ReadVbaWindow(project, 2, 2), "a2");
    EXPECT_EQ(ReadVbaWindow(project, 3, 2), ""); // nothing to read
    ModHtml().CurrentModuleName = "B";           // follows the module list with the same numbers
    EXPECT_EQ(ReadVbaWindow(project, 2, 2), "b2");
    ModHtml().CurrentModuleName = "E";
    EXPECT_EQ(ReadVbaWindow(Project("p", {Module("E", {})}), 1, 1), "");
    EXPECT_TRUE(box.messages.empty());
}

TEST(ReadVbaWindow, ReportsFailuresInTheShortFormAndReturnsEmptyText)
{
    ResetModHtml();
    RecordingMessageBox box;
    const auto project = Project("p", {Module("A", {"a1"})});
    struct Case {
        const char* what;
        std::shared_ptr<VBProject> project;
        std::string module;
        std::int32_t first;
        std::int32_t last;
        std::string text;
    };
    const Case cases[] = {
        {"unknown module", project, "Nope", 1, 1, "Error_Number: 9.  : インデックスが有効範囲にありません。"},
        {"no project", nullptr, "A", 1, 1,
         "Error_Number: 91.  : オブジェクト変数または With ブロック変数が設定されていません。"},
        {"overflowing count", project, "A", INT32_MIN, INT32_MAX, "Error_Number: 6.  : オーバーフローしました。"},
        {"first line below 1", project, "A", 0, 1,
         "Error_Number: 5.  : プロシージャの呼び出し、または引数が不正です。"},
    };
    for (const Case& c : cases) {
        box.messages.clear();
        ModHtml().CurrentModuleName = c.module;
        EXPECT_EQ(ReadVbaWindow(c.project, c.first, c.last), "") << c.what;
        EXPECT_EQ(box.messages, (std::vector<RecordingMessageBox::Message>{{c.text, "ModConvHTML.ReadVbaWindow"}}))
            << c.what;
    }
    ResetModHtml();
}

} // namespace
} // namespace quillmark
