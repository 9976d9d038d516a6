#include "modhtml/SharedSetProcedures.h"

#include "modhtml/ModHtml.h"
#include "modhtml/TestProjects.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

struct RangeCase {
    const char* what;
    std::vector<ProcRecord> index;
    std::string entry;
    LineRange range;
};

TEST(GetEntryRange, TurnsEntriesIntoLineRanges)
{
    const std::vector<ProcRecord> twoProcs{{"Foo", 5, 9}, {"Property Get Size", 10, 14}};
    const RangeCase cases[] = {
        {"whole module", twoProcs, "*", {1, 20}},
        {"declarations before line 5", twoProcs, "_Declarations_", {1, 4}},
        {"declarations when the first procedure starts on line 1", {{"Foo", 1, 3}}, "_Declarations_", {1, 1}},
        {"declarations of a module without procedures", {{"", 0, 0}}, "_Declarations_", {1, 20}},
        {"a procedure", twoProcs, "Foo", {5, 9}},
        {"a property with its prefix", twoProcs, "Property Get Size", {10, 14}},
        {"the first of two records with one name", {{"Dup", 2, 4}, {"Dup", 5, 8}}, "Dup", {2, 4}},
    };
    for (const RangeCase& c : cases) {
        testing::ResetModHtml();
        ModHtml().ModuleLineCount = 20;
        ModHtml().ProcIndex = c.index;
        EXPECT_EQ(GetEntryRange(c.entry), c.range) << c.what;
    }
    testing::ResetModHtml();
}

TEST(GetEntryRange, FailsForNamesTheIndexLacks)
{
    testing::ResetModHtml();
    ModHtml().ModuleLineCount = 20;
    ModHtml().ProcIndex = {{"Foo", 5, 9}};
    for (const char* entry : {"foo", "Size", "", " Foo"}) {
        try {
            GetEntryRange(entry);
            ADD_FAILURE() << entry;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 9) << entry;
        }
    }
    ModHtml().ProcIndex.clear(); // released
    EXPECT_THROW(GetEntryRange("_Declarations_"), RuntimeError);
    testing::ResetModHtml();
}

} // namespace
} // namespace quillmark
