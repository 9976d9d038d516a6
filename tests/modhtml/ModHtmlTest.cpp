#include "modhtml/ModHtml.h"

#include "modhtml/SharedSetProcedures.h"
#include "modhtml/TestProjects.h"
#include "platform/ui/MessageBox.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quillmark {
namespace {

using namespace quillmark::testing;
using Blocks = std::vector<ProcRecord>;

class ModHtmlTest : public ::testing::Test {
protected:
    void SetUp() override { ResetModHtml(); }
    void TearDown() override { ResetModHtml(); }

    // A file that exists, so that the project's bare file name is known.
    std::string ExistingFile(const std::string& name) { return folder.Write(name, ""); }

    testing::TempFolder folder{"modhtml"};
    RecordingMessageBox box;
};

TEST_F(ModHtmlTest, GetProjectsSkipsLockedProjectsAndKeysByBareFileName)
{
    const auto a = Project(ExistingFile("Book1.xlsm"), {Module("Module1", {"Sub A()", "End Sub"})});
    const auto locked = Project(ExistingFile("Locked.xlsm"), {}, 1);
    ModHtml().HostEditor =
        std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{locked, a}, a, nullptr);

    ASSERT_TRUE(GetProjects());
    ASSERT_EQ(ModHtml().ProjectCollection->Count(), 1u);
    EXPECT_EQ(ModHtml().ProjectCollection->begin()->key, "Book1.xlsm");
    EXPECT_EQ(ModHtml().ProjectCollection->Item("Book1.xlsm"), a);
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(ModHtmlTest, GetProjectsFailsSilently)
{
    const std::string same = ExistingFile("Same.xlsm");
    const std::string sameElsewhere = ExistingFile("other/Same.xlsm");
    struct Case {
        const char* what;
        std::vector<std::shared_ptr<VBProject>> projects;
        bool noEditor = false;
    };
    const Case cases[] = {
        {"no projects", {}},
        {"every project locked", {Project(same, {}, 1)}},
        {"two projects with one bare name", {Project(same, {}), Project(sameElsewhere, {})}},
        {"two unsaved projects", {Project("/nonexistent/a.xls", {}), Project("/nonexistent/b.xls", {})}},
        {"no host editor", {}, true},
    };
    for (const Case& c : cases) {
        ModHtml().HostEditor = c.noEditor ? nullptr : std::make_shared<MemoryEditor>(c.projects, nullptr, nullptr);
        EXPECT_FALSE(GetProjects()) << c.what;
        EXPECT_FALSE(ModHtml().ProjectCollection.has_value()) << c.what;
    }
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(ModHtmlTest, GetModuleListCaptionsCarryTheTypePrefix)
{
    const auto project = Project("p", {Module("Module1", {}), Module("Class1", {}, vbext_ct::ClassModule),
                                       Module("UserForm1", {}, vbext_ct::MSForm), Module("Designer1", {}, 11),
                                       Module("ThisWorkbook", {}, vbext_ct::Document), Module("Odd", {}, 7)});
    ASSERT_TRUE(GetModuleList(project));
    std::vector<std::string> captions;
    for (const auto& entry : *ModHtml().ModuleCollection)
        captions.push_back(entry.item);
    EXPECT_EQ(captions, (std::vector<std::string>{"MOD Module1", "CLS Class1", "FRM UserForm1", "ACX Designer1",
                                                  "APP ThisWorkbook", "??? Odd"}));
    EXPECT_EQ(ModHtml().ModuleCollection->Item("Class1"), "CLS Class1");
}

TEST_F(ModHtmlTest, GetModuleListFailsForEmptyLockedOrMissingProject)
{
    EXPECT_FALSE(GetModuleList(Project("p", {})));
    EXPECT_FALSE(ModHtml().ModuleCollection.has_value());
    EXPECT_FALSE(GetModuleList(Project("p", {Module("M", {})}, 1)));
    EXPECT_FALSE(GetModuleList(nullptr));
    EXPECT_FALSE(ModHtml().ModuleCollection.has_value());
    EXPECT_TRUE(box.messages.empty());
}

struct IndexCase {
    const char* what;
    std::vector<std::string> lines;
    std::int32_t procCount;
    std::int32_t lineCount;
    std::vector<ProcRecord> index;
};

TEST_F(ModHtmlTest, GetModDataBuildsTheIndex)
{
    const IndexCase cases[] = {
        {"empty module", {}, 0, 1, {{"", 0, 0}}},
        {"declarations only", {"Option Explicit", "Dim x As Long"}, 0, 2, {{"", 0, 0}}},
        {"first procedure on line 1",
         {"Sub A()", "End Sub", "Function B()", "End Function"},
         2,
         4,
         {{"A", 1, 2}, {"B", 3, 4}}},
        {"declarations, then procedures owning the lines between them",
         {"Option Explicit", "", "Sub A()", "End Sub", "", "' about B", "Sub B()", "End Sub", ""},
         2,
         9,
         {{"A", 2, 4}, {"B", 5, 9}}},
        {"property trio of one name",
         {"Private m As Long", "Property Get Size() As Long", "Size = m", "End Property",
          "Property Let Size(v As Long)", "m = v", "End Property", "Property Set Obj(o As Object)", "End Property"},
         3,
         9,
         {{"Property Get Size", 2, 4, 3}, {"Property Let Size", 5, 7, 1}, {"Property Set Obj", 8, 9, 2}}},
        {"one-line procedure on the last line", {"Option Explicit", "Sub X(): End Sub"}, 1, 2, {{"X", 2, 2}}},
    };
    for (const IndexCase& c : cases) {
        ResetModHtml();
        const auto project = Project("p", {Module("M", c.lines)});
        std::int32_t procCount = -1;
        std::int32_t lineCount = -1;
        GetModData(project, "M", procCount, lineCount);
        EXPECT_EQ(procCount, c.procCount) << c.what;
        EXPECT_EQ(lineCount, c.lineCount) << c.what;
        EXPECT_EQ(ModHtml().ProcIndex, c.index) << c.what;
    }
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(ModHtmlTest, GetModDataFindsPropertyKindsOnAHostThatLeavesKindUnchanged)
{
    auto component = ModuleWithBlocks(
        "C", 7, Blocks{{"Property Get Size", 1, 3, 3}, {"Property Let Count", 4, 5, 1}, {"Property Set Obj", 6, 7, 2}});
    component->Module()->SetReportsKind(false);
    std::int32_t procCount = 0;
    std::int32_t lineCount = 0;
    GetModData(Project("p", {component}), "c", procCount, lineCount); // names compare case-insensitively
    EXPECT_EQ(procCount, 3);
    EXPECT_EQ(ModHtml().ProcIndex,
              (std::vector<ProcRecord>{
                  {"Property Get Size", 1, 3, 3}, {"Property Let Count", 4, 5, 1}, {"Property Set Obj", 6, 7, 2}}));
    EXPECT_TRUE(box.messages.empty());
}

TEST_F(ModHtmlTest, GetModDataReportsFailuresAndKeepsThePreviousIndex)
{
    const std::vector<ProcRecord> previous{{"Old", 1, 2}};
    struct Case {
        const char* what;
        std::shared_ptr<MemoryProject> project;
        std::string module;
        RecordingMessageBox::Message message;
        std::int32_t procCount;
        std::int32_t lineCount;
    };
    // A line owned by no block after the first procedure: no kind finds it.
    const auto gap = Project("p", {ModuleWithBlocks("G", 6, Blocks{{"A", 2, 3}, {"B", 5, 6}})});
    const Case cases[] = {
        {"unknown module",
         Project("p", {Module("M", {})}),
         "Nope",
         {"Error: 9. インデックスが有効範囲にありません。", "GetModData"},
         0,
         0},
        {"locked project",
         Project("p", {Module("M", {})}, 1),
         "M",
         {"Error: 50289. Can't perform operation since the project is protected.", "GetModData"},
         0,
         0},
        {"a gap between blocks",
         gap,
         "G",
         {"Error: 35. Sub または Function が定義されていません。", "GetModData_!fromEN35"},
         1,
         6},
    };
    for (const Case& c : cases) {
        box.messages.clear();
        ModHtml().ProcIndex = previous;
        std::int32_t procCount = -1;
        std::int32_t lineCount = -1;
        GetModData(c.project, c.module, procCount, lineCount);
        EXPECT_EQ(box.messages, std::vector<RecordingMessageBox::Message>{c.message}) << c.what;
        EXPECT_EQ(ModHtml().ProcIndex, previous) << c.what;
        EXPECT_EQ(procCount, c.procCount) << c.what;
        EXPECT_EQ(lineCount, c.lineCount) << c.what;
    }
}

// A host that claims every line for a procedure of no lines.
struct EmptyBlockModule : CodeModule {
    std::string Name() override { return "Z"; }
    std::int32_t CountOfLines() override { return 3; }
    std::string Lines(std::int32_t, std::int32_t) override { return {}; }
    std::string ProcOfLine(std::int32_t, std::int32_t&) override { return "A"; }
    std::int32_t ProcCountLines(const std::string&, std::int32_t) override { return 0; }
};
struct SingleComponents : VBComponents {
    struct Component : VBComponent {
        std::string Name() override { return "Z"; }
        std::int32_t Type() override { return 1; }
        std::shared_ptr<quillmark::CodeModule> CodeModule() override { return std::make_shared<EmptyBlockModule>(); }
    };
    std::int32_t Count() override { return 1; }
    std::shared_ptr<VBComponent> Item(std::int32_t) override { return std::make_shared<Component>(); }
    std::shared_ptr<VBComponent> Item(const std::string&) override { return std::make_shared<Component>(); }
};
struct SingleProject : VBProject {
    std::int32_t Protection() override { return 0; }
    std::string FileName() override { return "p"; }
    std::shared_ptr<quillmark::VBComponents> VBComponents() override { return std::make_shared<SingleComponents>(); }
};

TEST_F(ModHtmlTest, GetModDataFailsInsteadOfLoopingOnAnEmptyBlock)
{
    std::int32_t procCount = 0;
    std::int32_t lineCount = 0;
    GetModData(std::make_shared<SingleProject>(), "Z", procCount, lineCount);
    ASSERT_EQ(box.messages.size(), 1u);
    EXPECT_EQ(box.messages[0].title, "GetModData");
    EXPECT_EQ(lineCount, 3);
}

TEST_F(ModHtmlTest, ReleaseProjectsEmptiesTheBuiltStateAndKeepsTheRest)
{
    ReleaseProjects(); // before anything was built
    auto& state = ModHtml();
    state.HostEditor = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{}, nullptr, nullptr);
    state.CurrentProject = Project("p", {});
    state.CurrentModuleName = "Module1";
    state.ProcCount = 2;
    state.ModuleLineCount = 10;
    state.ProcIndex = {{"A", 1, 5}, {"B", 6, 10}};
    state.ProjectCollection.emplace();
    state.ModuleCollection.emplace();
    state.Keywords = std::make_unique<KeywordTable>();
    ReleaseProjects();
    ReleaseProjects();
    EXPECT_FALSE(state.ProjectCollection.has_value());
    EXPECT_FALSE(state.ModuleCollection.has_value());
    EXPECT_EQ(state.CurrentProject, nullptr);
    EXPECT_EQ(state.Keywords, nullptr);
    EXPECT_TRUE(state.ProcIndex.empty());
    EXPECT_NE(state.HostEditor, nullptr);
    EXPECT_EQ(state.CurrentModuleName, "Module1");
    EXPECT_EQ(state.ProcCount, 2);
    EXPECT_EQ(state.ModuleLineCount, 10);
}

} // namespace
} // namespace quillmark
