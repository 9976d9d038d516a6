#include "ConversionFixture.h"

#include "conversion/LinkLists.h"
#include "platform/ui/MessageBox.h"

namespace quillmark::test {
namespace {

class LinkListsTest : public ConversionFixture {
protected:
    void SetUp() override
    {
        ConversionFixture::SetUp();
        ModHtml().CurrentModuleName = "Module1";
    }
};

using Strings = std::vector<std::string>;

TEST_F(LinkListsTest, WholeModule)
{
    const struct {
        std::vector<ProcRecord> index;
        Strings list;
    } cases[] = {
        {{{"Foo", 2, 5}, {"Property Get Bar", 6, 9}},
         {"<ul>", R"(<li><a href="#Module1.Declarations">GoTo Module1.Declarations</a>)",
          R"(<li><a href="#Foo">GoTo Foo</a>)", R"(<li><a href="#Property Get Bar">GoTo Property Get Bar</a>)",
          "</ul>\r\n"}},
        {{{"Foo", 1, 3}},
         {"<ul>", R"(<li><a href="#Module1.Declarations">GoTo Module1.Declarations</a>)",
          R"(<li><a href="#Foo">GoTo Foo</a>)", "</ul>\r\n"}},
        {{{"", 0, 0}}, // a module without procedures
         {"<ul>", R"(<li><a href="#Module1.Declarations">GoTo Module1.Declarations</a>)", "</ul>\r\n", ""}},
    };
    RecordingMessageBox box;
    for (const auto& c : cases)
        EXPECT_EQ(CreateLinkList(c.index), c.list);
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(LinkListsTest, OneProcedureAndDeclarations)
{
    RecordingMessageBox box;
    EXPECT_EQ(CreateLink("Property Let Size"),
              (Strings{"<ul>", R"(<li><a href="#Property Let Size">GoTo Property Let Size</a>)", "</ul>\r\n"}));
    EXPECT_EQ(CreateLink("NotInTheIndex"),
              (Strings{"<ul>", R"(<li><a href="#NotInTheIndex">GoTo NotInTheIndex</a>)", "</ul>\r\n"}));
    EXPECT_EQ(CreateLinkDec(),
              (Strings{"<ul>", R"(<li><a href="#Module1.Declarations">GoTo Module1.Declarations</a>)", "</ul>\r\n"}));
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(LinkListsTest, IndexNeverBuiltIsReportedAndGivesNoLinks)
{
    RecordingMessageBox box;
    EXPECT_TRUE(CreateLinkList({}).empty());
    EXPECT_EQ(box.messages,
              (std::vector<RecordingMessageBox::Message>{
                  {"Error_Number: 9.  : インデックスが有効範囲にありません。", "Module1.CreateLinkList"}}));
}

} // namespace
} // namespace quillmark::test
