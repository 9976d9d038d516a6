#include "platform/settings/Settings.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileReading.h"
#include "platform/settings/IniFile.h"

#include "base/RuntimeError.h"
#include "platform/settings/ConfigHomeGuard.h"

#include "common/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillmark {
namespace {

using testing::ConfigHomeGuard;

TEST(SettingsTest, AbsentValuesGiveTheDefaultAndCreateNoFile)
{
    ConfigHomeGuard home("absent");
    EXPECT_EQ(GetSetting("Quillmark", "Settings", "DisplayOnConnect", "0"), "0");
    EXPECT_EQ(GetSetting("Quillmark", "Settings", "DisplayOnConnect"), "");
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath("Quillmark")));
}

TEST(SettingsTest, FileLivesUnderTheConfigHomeByApplication)
{
    ConfigHomeGuard home("path");
    EXPECT_EQ(SettingsFilePath("Quillmark"), home.Path() + "/VB and VBA Program Settings/Quillmark.ini");
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsFilePath("Quillmark"), "/home/someone/.config/VB and VBA Program Settings/Quillmark.ini");
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST(SettingsTest, SavedValuesReadBackAndOverwriteInPlace)
{
    ConfigHomeGuard home("save");
    SaveSetting("Quillmark", "Settings", "DisplayOnConnect", "1");
    SaveSetting("Quillmark", "Other", "Key", "a\\b\r\nc");
    SaveSetting("Quillmark", "Other", "Blanks", " x\ty ");
    SaveSetting("Quillmark", "Settings", "DisplayOnConnect", "0");
    EXPECT_EQ(GetSetting("Quillmark", "Settings", "DisplayOnConnect", "x"), "0");
    EXPECT_EQ(GetSetting("Quillmark", "other", "KEY"), "a\\b\r\nc");
    EXPECT_EQ(GetSetting("Quillmark", "Other", "Blanks"), " x\ty ");
    EXPECT_EQ(GetSetting("Another", "Settings", "DisplayOnConnect", "none"), "none");
    EXPECT_EQ(testing::ReadFileText(SettingsFilePath("Quillmark")),
              "[Settings]\nDisplayOnConnect=0\n\n[Other]\nKey=a\\\\b\\r\\nc\nBlanks=\\sx\\ty\\s\n");
}

TEST(SettingsTest, CommentsAndOtherEntriesSurviveAWrite)
{
    ConfigHomeGuard home("keep");
    const std::string path = SettingsFilePath("Quillmark");
    testing::WriteFileText(path, "; kept\n[Settings]\nColour = blue\n\n[Later]\nX=1\n");
    SaveSetting("Quillmark", "Settings", "DisplayOnConnect", "1");
    EXPECT_EQ(testing::ReadFileText(path), "; kept\n[Settings]\nColour = blue\nDisplayOnConnect=1\n\n[Later]\nX=1\n");
    EXPECT_EQ(GetSetting("Quillmark", "Settings", "Colour"), "blue");
}

TEST(SettingsTest, MalformedFileIsReportedWithItsLineAndNeverRewritten)
{
    const std::string broken[] = {
        "[Settings]\nno equals sign\n",
        "Key=before any section\n",
        "[Settings\nKey=1\n",
        "[Settings]\nKey=bad \\q escape\n",
    };
    for (const std::string& text : broken) {
        ConfigHomeGuard home("broken");
        const std::string path = SettingsFilePath("Quillmark");
        testing::WriteFileText(path, text);
        try {
            GetSetting("Quillmark", "Settings", "Key", "0");
            ADD_FAILURE() << "read of " << text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 75);
            EXPECT_NE(e.Description().find(path), std::string::npos) << e.Description();
            EXPECT_NE(e.Description().find(" 行目"), std::string::npos) << e.Description();
        }
        EXPECT_THROW(SaveSetting("Quillmark", "Settings", "Key", "1"), RuntimeError);
        EXPECT_EQ(testing::ReadFileText(path), text);
    }
}

TEST(SettingsTest, NamesTheFileCannotHoldAreRefused)
{
    ConfigHomeGuard home("names");
    for (const auto& [app, section, key] : {std::tuple<std::string, std::string, std::string>{"", "S", "K"},
                                            {"../escape", "S", "K"},
                                            {"A", "[S]", "K"},
                                            {"A", "S", "K=V"},
                                            {"A", "S", "K\nL"}}) {
        EXPECT_THROW(SaveSetting(app, section, key, "1"), RuntimeError) << app << "/" << section << "/" << key;
        EXPECT_THROW(GetSetting(app, section, key), RuntimeError);
    }
}

TEST(SettingsTest, UnwritableFolderIsAnErrorNotACrash)
{
    ConfigHomeGuard home("unwritable");
    testing::WriteFileText(home.Path() + "/VB and VBA Program Settings", "a file where the folder should be");
    EXPECT_THROW(SaveSetting("Quillmark", "Settings", "DisplayOnConnect", "1"), RuntimeError);
}

TEST(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFiles)
{
    ConfigHomeGuard home("atomic");
    const std::string path = home.Path() + "/deep/er/file.txt";
    CreateParentFolders(path);
    WriteFileAtomically(path, "one");
    WriteFileAtomically(path, "two");
    EXPECT_EQ(testing::ReadFileText(path), "two");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home.Path() + "/deep/er"))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(ReadWholeFile(home.Path() + "/missing").exists);
}

} // namespace
} // namespace quillmark
