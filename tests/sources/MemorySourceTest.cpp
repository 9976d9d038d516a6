#include "sources/MemorySource.h"

#include "base/RuntimeError.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillmark {
namespace {

std::int32_t ErrorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

std::shared_ptr<MemoryCodeModule> Module(const std::vector<std::string>& lines)
{
    return std::make_shared<MemoryCodeModule>("Module1", ModuleText::FromLines(lines));
}

TEST(MemoryCodeModule, LinesJoinsWithCrLfAndClipsAtTheEnd)
{
    auto m = Module({"a", "b", "c"});
    EXPECT_EQ(m->CountOfLines(), 3);
    EXPECT_EQ(m->Lines(1, 3), "a\r\nb\r\nc");
    EXPECT_EQ(m->Lines(2, 0), "");
    EXPECT_EQ(m->Lines(3, 5), "c");
    EXPECT_EQ(m->Lines(4, 1), "");
    EXPECT_EQ(m->Lines(2, 2'000'000'000), "b\r\nc");
    EXPECT_EQ(Module({})->CountOfLines(), 0);
}

TEST(MemoryCodeModule, InvalidLineArgumentsAreError5)
{
    auto m = Module({"a"});
    EXPECT_EQ(ErrorNumberOf([&] { m->Lines(0, 1); }), err::InvalidCall);
    EXPECT_EQ(ErrorNumberOf([&] { m->Lines(-3, 1); }), err::InvalidCall);
    EXPECT_EQ(ErrorNumberOf([&] { m->Lines(1, -1); }), err::InvalidCall);
}

TEST(MemoryCodeModule, ProcOfLineReportsOwnerAndKind)
{
    auto m = Module({"Dim m", "Property Get Size()", "End Property", "Property Let Size(v)", "End Property", "' end"});
    std::int32_t kind = 7;
    EXPECT_EQ(m->ProcOfLine(1, kind), "");
    EXPECT_EQ(kind, 7) << "a declarations line leaves kind as it was";
    EXPECT_EQ(m->ProcOfLine(2, kind), "Size");
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(m->ProcOfLine(6, kind), "Size");
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(m->ProcCountLines("size", 1), 3);
    EXPECT_EQ(m->ProcCountLines("SIZE", 3), 2);
    EXPECT_EQ(ErrorNumberOf([&] { m->ProcCountLines("Size", 0); }), err::ProcedureNotDefined);
    EXPECT_EQ(ErrorNumberOf([&] { m->ProcCountLines("Other", 0); }), err::ProcedureNotDefined);
}

TEST(MemoryCodeModule, ProcCountLinesFollowsTheLastLineAskedForDuplicates)
{
    auto m = Module({"#If Win64 Then", "Function F()", "End Function", "#Else", "' other", "Function F()",
                     "End Function", "#End If"});
    std::int32_t kind = 0;
    EXPECT_EQ(m->ProcCountLines("F", 0), 2) << "before any ProcOfLine: the first block";
    EXPECT_EQ(m->ProcOfLine(4, kind), "F");
    EXPECT_EQ(m->ProcCountLines("F", 0), 5);
    EXPECT_EQ(m->ProcOfLine(2, kind), "F");
    EXPECT_EQ(m->ProcCountLines("F", 0), 2);
    EXPECT_EQ(m->ProcOfLine(1, kind), "");
    EXPECT_EQ(m->ProcCountLines("F", 0), 2) << "a declarations line falls back to the first block";
}

TEST(MemoryCodeModule, CanLeaveKindUnchanged)
{
    auto m = std::make_shared<MemoryCodeModule>("Class1", ModuleText::FromLines({"Property Set P(v)", "End Property"}),
                                                std::vector<ProcRecord>{{"Property Set P", 1, 2, 2}});
    m->SetReportsKind(false);
    std::int32_t kind = 0;
    EXPECT_EQ(m->ProcOfLine(1, kind), "P");
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(ErrorNumberOf([&] { m->ProcCountLines("P", 1); }), err::ProcedureNotDefined);
    EXPECT_EQ(m->ProcCountLines("P", 2), 2);
}

TEST(MemoryProject, ComponentsByIndexAndCaseInsensitiveName)
{
    auto a = std::make_shared<MemoryComponent>(1, Module({"x"}));
    auto b = std::make_shared<MemoryComponent>(
        2, std::make_shared<MemoryCodeModule>("Class1", ModuleText("Option Explicit")));
    MemoryProject project("/p/Book1.xlsm", {a, b});
    auto components = project.VBComponents();
    EXPECT_EQ(components->Count(), 2);
    EXPECT_EQ(components->Item(2), b);
    EXPECT_EQ(components->Item("CLASS1"), b);
    EXPECT_EQ(components->Item("module1"), a);
    EXPECT_EQ(ErrorNumberOf([&] { components->Item("Class2"); }), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { components->Item(0); }), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { components->Item(3); }), err::SubscriptOutOfRange);
}

TEST(MemoryProject, LockedProjectRefusesItsComponents)
{
    MemoryProject locked("/p/Locked.xls", {}, 1);
    EXPECT_EQ(locked.Protection(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { locked.VBComponents(); }), err::ProjectProtected);
}

} // namespace
} // namespace quillmark
