#include "ConversionFixture.h"

namespace quillmark::test {
namespace {

class KeywordsTest : public ConversionFixture {};

TEST_F(KeywordsTest, BuildsTheWholeListAndNamesTheActiveModule)
{
    Load("Sheet1", {"Option Explicit"});
    const ModHtmlState& state = ModHtml();
    EXPECT_EQ(state.CurrentModuleName, "Sheet1");
    ASSERT_TRUE(state.Keywords);
    EXPECT_EQ(state.Keywords->Count(), 128u);
    EXPECT_EQ(KeywordList.size(), 763u);
    EXPECT_EQ(KeywordList.find(' '), std::string_view::npos);
}

TEST_F(KeywordsTest, KeysAreWholeAndCaseSensitive)
{
    Load("Module1", {});
    const struct {
        const char* word;
        bool found;
    } cases[] = {
        {"Debug.Print", true}, {"Debug.Assert", true}, {"Debug", false}, {"Print", true},    {"ReDim", true},
        {"Redim", false},      {"REDIM", false},       {"If", true},     {"if", false},      {"Access", true},
        {"Xor", true},         {"GoTo", true},         {"Goto", false},  {"Me", false},      {"Rem", false},
        {"Stop", false},       {"Empty", false},       {"", false},      {"String:", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModHtml().Keywords->Exists(c.word), c.found) << c.word;
}

// The converter answers from the keywords of the list that its table holds, and from the table
// for any other key it holds.
TEST_F(KeywordsTest, ConverterFollowsTheTableItIsGiven)
{
    KeywordTable table;
    for (const char* key : {"If", "Stop", "Debug.Print", "WordsLongerThanSixteen"})
        table.Add(key, 1);
    const ModuleText text = ModuleText::FromLines({"If Then Stop Debug.Print Debug WordsLongerThanSixteen Me"});
    const ProcedureIndex index{{"", 0, 0}};
    EXPECT_EQ(
        ConvertRange(ModuleView{"M", text, index, 1}, &table, Entry{}, 1, 1),
        R"(<div class="CodeArea"><p id="M.Declarations"><span class="Deco3">If</span> <span class="Deco5">Then</span> )"
        R"(<span class="Deco3">Stop</span> <span class="Deco3">Debug.Print</span> <span class="Deco5">Debug</span> )"
        R"(<span class="Deco3">WordsLongerThanSixteen</span> <span class="Deco5">Me</span></p></div>)");
}

TEST_F(KeywordsTest, WithoutCodeWindowFailsAndDropsTheTable)
{
    Load("Module1", {"x = 1"});
    ModHtmlState& state = ModHtml();
    state.CurrentModuleName = "Module2";
    state.HostEditor =
        std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project_}, project_, nullptr);
    EXPECT_FALSE(InitKeywords());
    EXPECT_FALSE(state.Keywords);
    EXPECT_EQ(state.CurrentModuleName, "Module2");

    state.HostEditor.reset();
    EXPECT_FALSE(InitKeywords());
    EXPECT_FALSE(state.Keywords);
    EXPECT_EQ(state.CurrentModuleName, "Module2");
}

TEST_F(KeywordsTest, SecondCallReplacesTheTableAndRereadsTheModule)
{
    Load("Module1", {});
    ModHtmlState& state = ModHtml();
    state.Keywords->Add("Stale", 1);
    auto other = std::make_shared<MemoryCodeModule>("Class1", ModuleText{}, std::vector<ProcRecord>{});
    state.HostEditor = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project_}, project_,
                                                      std::make_shared<MemoryCodePane>(other));
    ASSERT_TRUE(InitKeywords());
    EXPECT_EQ(state.CurrentModuleName, "Class1");
    EXPECT_FALSE(state.Keywords->Exists("Stale"));
    EXPECT_EQ(state.Keywords->Count(), 128u);
}

} // namespace
} // namespace quillmark::test
