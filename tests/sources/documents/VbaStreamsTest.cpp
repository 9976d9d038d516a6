#include "sources/documents/DirStream.h"
#include "sources/documents/ProjectStream.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

namespace quillmark {
namespace {

testing::WrittenProject TwoModules()
{
    testing::WrittenProject project;
    project.codePage = 932;
    testing::WrittenModule first;
    first.name = "Module1";
    first.cache = std::string(100, 'x');
    testing::WrittenModule second;
    second.name = "\x83\x56\x81\x5B\x83\x67"; // "シート" in CP932
    second.unicodeName = std::string("\xB7\x30\xFC\x30\xC8\x30", 6);
    second.type = 100;
    second.cache.clear();
    project.modules = {first, second};
    return project;
}

TEST(DirStream, ReadsCodePageAndModulesInOrderWithOrWithoutOptionalRecords)
{
    for (bool optional : {true, false}) {
        testing::WrittenProject project = TwoModules();
        project.optionalRecords = optional;
        const DirInfo dir = ParseDirStream(testing::DirStream(project));
        EXPECT_EQ(dir.codePage, 932);
        ASSERT_EQ(dir.modules.size(), 2u);
        EXPECT_EQ(dir.modules[0].name, "Module1");
        EXPECT_EQ(dir.modules[0].streamName, "Module1");
        EXPECT_EQ(dir.modules[0].textOffset, 100u);
        EXPECT_TRUE(dir.modules[0].procedural);
        EXPECT_TRUE(dir.modules[0].nameUnicode.empty());
        EXPECT_EQ(dir.modules[1].name, project.modules[1].name);
        EXPECT_EQ(dir.modules[1].nameUnicode, project.modules[1].unicodeName);
        EXPECT_EQ(dir.modules[1].streamNameUnicode, project.modules[1].unicodeName);
        EXPECT_EQ(dir.modules[1].textOffset, 0u);
        EXPECT_FALSE(dir.modules[1].procedural);
    }
}

TEST(DirStream, RecordRunningPastTheEndIsAnError)
{
    const std::string dir = testing::DirStream(TwoModules());
    // Cutting inside the module records always leaves a record that claims more than is left.
    const std::size_t modules = dir.find("Module1") - 6;
    for (std::size_t cut = modules + 1; cut < dir.size() - 6; cut += 5) {
        const std::string truncated = dir.substr(0, cut);
        try {
            const DirInfo info = ParseDirStream(truncated);
            EXPECT_LE(info.modules.size(), 2u) << cut;
        } catch (const RuntimeError& error) {
            EXPECT_NE(std::string(error.what()).find("runs past the end"), std::string::npos) << cut;
        }
    }
    std::string huge = dir;
    huge[modules + 2] = '\xFF';
    huge[modules + 5] = '\x7F';
    EXPECT_THROW(ParseDirStream(huge), RuntimeError);
}

TEST(DirStream, StopsAtTheTerminatorAndToleratesAMissingOne)
{
    const std::string dir = testing::DirStream(TwoModules());
    EXPECT_EQ(ParseDirStream(dir + "trailing garbage after the end").modules.size(), 2u);
    EXPECT_EQ(ParseDirStream(dir.substr(0, dir.size() - 6)).modules.size(), 2u);
}

std::string VisibilityLine(std::string_view state)
{
    return "GC=\"" + testing::EncryptProjectField(state) + "\"\r\n";
}

TEST(ProjectStream, ModuleLinesGiveTheComponentTypes)
{
    const ProjectInfo info =
        ParseProjectStream("ID=\"{00000000-0000-0000-0000-000000000000}\"\r\n"
                           "Document=ThisWorkbook/&H00000000\r\nModule=Module1\nClass=Class1\rBaseClass=Form1\r\n"
                           "Package={AC9F2F90-E877-11CE-9F68-00AA00574A4F}\r\nName=\"VBAProject\"\r\n" +
                           VisibilityLine("\xFF") + "\r\n[Workspace]\r\nModule=NotAModule\r\n");
    ASSERT_EQ(info.modules.size(), 4u);
    const std::pair<std::int32_t, std::string> expected[] = {
        {100, "ThisWorkbook"}, {1, "Module1"}, {2, "Class1"}, {3, "Form1"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(info.modules[i].type, expected[i].first);
        EXPECT_EQ(info.modules[i].name, expected[i].second);
    }
    EXPECT_FALSE(info.lockedForViewing);
}

TEST(ProjectStream, OnlyAHiddenVisibilityLocksTheProject)
{
    // CMG's protection bit 0x04 means a password, which alone still lets the code be viewed.
    const struct {
        bool hidden;
        std::uint32_t state;
        bool locked;
    } cases[] = {{false, 0, false}, {true, 0, true}, {false, 4, false}, {false, 7, false}, {true, 4, true}};
    for (const auto& each : cases) {
        testing::WrittenProject project;
        project.hiddenForViewing = each.hidden;
        project.protectionState = each.state;
        EXPECT_EQ(ParseProjectStream(testing::ProjectStream(project)).lockedForViewing, each.locked)
            << each.hidden << " " << each.state;
    }
}

TEST(ProjectStream, VisibilityThatCannotBeReadIsDamage)
{
    const std::string cases[] = {
        "Module=Module1\r\n",
        "Module=Module1\r\n\r\n[Workspace]\r\n" + VisibilityLine(std::string(1, '\0')),
        "GC=\"0G\"\r\n",
        VisibilityLine(""),
        VisibilityLine(std::string(2, '\0')),
        VisibilityLine("\x01"),
    };
    for (const std::string& text : cases) {
        try {
            ParseProjectStream(text);
            ADD_FAILURE() << "read as sound: " << text;
        } catch (const RuntimeError& error) {
            EXPECT_NE(std::string(error.what()).find("PROJECT stream is damaged"), std::string::npos);
        }
    }
}

TEST(ProjectStream, EncryptedFieldsDecryptForEverySeed)
{
    for (unsigned seed : {0x00u, 0x02u, 0x04u, 0x06u, 0x3Du, 0xFFu}) {
        for (const std::string& data : {std::string(), std::string(1, '\0'), std::string("\xFF\x01\x02\x03", 4)}) {
            const auto hex = testing::EncryptProjectField(data, static_cast<std::uint8_t>(seed));
            EXPECT_EQ(DecryptProjectField(hex), data) << seed;
        }
    }
}

TEST(ProjectStream, MalformedEncryptedFieldsGiveNothing)
{
    const std::string good = testing::EncryptProjectField(std::string(1, '\0'));
    const std::string cases[] = {"",
                                 "0",
                                 "0G",
                                 good.substr(0, good.size() - 1),
                                 good.substr(0, good.size() - 2),
                                 "0000000000000000" /* version byte other than 2 */};
    for (const std::string& hex : cases) {
        EXPECT_FALSE(DecryptProjectField(hex).has_value()) << hex;
    }
}

} // namespace
} // namespace quillmark
