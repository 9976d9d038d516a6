#include "platform/com/Registry.h"
#include "platform/com/CreateObject.h"
#include "platform/com/ServerLibrary.h"

#include "base/RuntimeError.h"
#include "platform/settings/ConfigHomeGuard.h"

#include "common/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace quillmark::com {
namespace {

using testing::ConfigHomeGuard;

const std::string Key = "HKEY_CURRENT_USER\\Software\\Classes\\Some.Thing";

TEST(RegistryTest, LivesInTheConfigHomeAndStartsEmpty)
{
    ConfigHomeGuard home("registry-empty");
    EXPECT_EQ(Registry::DefaultPath(), home.Path() + "/quillmark-host/registry.reg");
    const Registry registry;
    EXPECT_FALSE(registry.KeyExists(Key));
    EXPECT_FALSE(std::filesystem::exists(registry.Path()));
}

TEST(RegistryTest, ValuesRoundTripThroughTheFile)
{
    ConfigHomeGuard home("registry-roundtrip");
    {
        Registry registry;
        registry.SetValue(Key, "", "Some \"quoted\" C:\\path ｿｰｽ");
        registry.SetValue(Key + "\\CLSID", "", "{X}");
        registry.SetValue(Key, "LoadBehavior", std::uint32_t{3});
        registry.Save();
    }
    EXPECT_EQ(testing::ReadFileText(Registry::DefaultPath()),
              "Windows Registry Editor Version 5.00\n"
              "\n[HKEY_CURRENT_USER]\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Classes]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Classes\\Some.Thing]\n"
              "@=\"Some \\\"quoted\\\" C:\\\\path ｿｰｽ\"\n"
              "\"LoadBehavior\"=dword:00000003\n"
              "\n[HKEY_CURRENT_USER\\Software\\Classes\\Some.Thing\\CLSID]\n"
              "@=\"{X}\"\n");
    const Registry reread;
    EXPECT_EQ(reread.GetString(Key, ""), "Some \"quoted\" C:\\path ｿｰｽ");
    EXPECT_EQ(reread.GetDword(Key, "loadbehavior"), 3u);
    EXPECT_EQ(reread.GetString(Key, "LoadBehavior"), std::nullopt);
    EXPECT_EQ(reread.GetString("hkey_current_user\\software\\classes\\some.thing\\clsid", ""), "{X}");
    EXPECT_EQ(reread.SubKeys("HKEY_CURRENT_USER\\Software\\Classes"), std::vector<std::string>{"Some.Thing"});
}

TEST(RegistryTest, DeleteTreeRemovesTheKeyAndEverythingBelowOnly)
{
    Registry registry("/nonexistent/registry.reg");
    registry.SetValue(Key + "\\A\\B", "", "1");
    registry.SetValue(Key + "Else", "", "2");
    EXPECT_TRUE(registry.DeleteTree(Key));
    EXPECT_FALSE(registry.KeyExists(Key + "\\A\\B"));
    EXPECT_FALSE(registry.KeyExists(Key));
    EXPECT_EQ(registry.GetString(Key + "Else", ""), "2");
    EXPECT_FALSE(registry.DeleteTree(Key));
}

TEST(RegistryTest, DamagedFileIsReportedWithItsLineAndNeverWrittenOver)
{
    const std::pair<std::string, std::string> cases[] = {
        {"REGEDIT4\n", "line 1 "},
        {"Windows Registry Editor Version 5.00\n\"Name\"=\"value before a key\"\n", "line 2 "},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n\"Name\"=\"unterminated\n", "line 3 "},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n\"N\"=dword:123\n", "line 3 "},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n@=\"a\"\n@=\"b\"\n", "line 4 "},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\\\X]\n", "line 2 "},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\nN=\"a\"\n", "line 3 "},
    };
    for (const auto& [text, line] : cases) {
        ConfigHomeGuard home("registry-broken");
        testing::WriteFileText(Registry::DefaultPath(), text);
        try {
            const Registry registry;
            ADD_FAILURE() << text;
        } catch (const RuntimeError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(Registry::DefaultPath()), std::string::npos) << message;
            EXPECT_NE(message.find(line), std::string::npos) << message;
        }
        try {
            CreateObject("Some.Thing");
            ADD_FAILURE() << text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 429);
            EXPECT_NE(e.Description().find(Registry::DefaultPath()), std::string::npos) << e.Description();
        }
        EXPECT_EQ(testing::ReadFileText(Registry::DefaultPath()), text);
    }
}

TEST(RegistryTest, CommentsAndBlankLinesAreAccepted)
{
    ConfigHomeGuard home("registry-comments");
    testing::WriteFileText(
        Registry::DefaultPath(),
        "; written by hand\r\nWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n@=\"1\"\r\n");
    EXPECT_EQ(Registry().GetString("HKEY_CURRENT_USER\\X", ""), "1");
}

TEST(RegistryTest, TheLockKeepsOtherProcessesOutUntilItIsReleased)
{
    ConfigHomeGuard home("registry-lock");
    const std::string held = home.Path() + "/held";
    const std::string released = home.Path() + "/released";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        {
            const RegistryLock lock(Registry::DefaultPath());
            std::ofstream(held) << "1";
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            std::ofstream(released) << "1";
        }
        ::_exit(0);
    }
    while (!std::filesystem::exists(held))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    {
        const RegistryLock lock(Registry::DefaultPath());
        EXPECT_TRUE(std::filesystem::exists(released));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
}

// What CreateObject says for each broken link between the name and a working library.
TEST(CreateObjectTest, EachMissingLinkGivesItsOwnMessage)
{
    ConfigHomeGuard home("create");
    const std::string clsid = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
    const std::string classes = ClassesRoot;
    struct Case {
        std::string progidClsid;
        std::string library;
        std::string expected;
    };
    const Case cases[] = {
        {"", "", "登録されていません"},
        {"not-a-guid", "", "not-a-guid"},
        {clsid, "", "ライブラリが登録されていません"},
        {clsid, home.Path() + "/gone/libGone.so", "there is no library " + home.Path() + "/gone/libGone.so"},
        {clsid, QUILLMARK_PLAIN_LIBRARY, "DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer"},
        {clsid, home.Path() + "/quillmark-host/registry.reg", "cannot load the library"},
    };
    for (const Case& c : cases) {
        Registry registry;
        if (!c.progidClsid.empty())
            registry.SetValue(classes + "\\Some.Thing\\CLSID", "", c.progidClsid);
        if (!c.library.empty())
            registry.SetValue(classes + "\\CLSID\\" + clsid + "\\InprocServer32", "", c.library);
        registry.Save();
        try {
            CreateObject("Some.Thing");
            ADD_FAILURE() << c.expected;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 429);
            EXPECT_NE(e.Description().find("Some.Thing"), std::string::npos) << e.Description();
            EXPECT_NE(e.Description().find(c.expected), std::string::npos) << e.Description();
        }
        registry.DeleteTree("HKEY_CURRENT_USER");
        registry.Save();
    }
}

} // namespace
} // namespace quillmark::com
