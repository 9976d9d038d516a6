#include "addin/Registration.h"
#include "addin/AddInIdentity.h"
#include "addin/RegistrationEntries.h"

#include "addin/Extensibility.h"
#include "base/RuntimeError.h"
#include "platform/com/CreateObject.h"
#include "platform/com/ServerLibrary.h"
#include "platform/settings/ConfigHomeGuard.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace quillmark {
namespace {

using testing::ConfigHomeGuard;

const std::string Library = QUILLMARK_ADDIN_LIBRARY;
const std::string Classes = "HKEY_CURRENT_USER\\Software\\Classes";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs command and returns its standard output; the exit status goes to status.
std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    status = ::pclose(pipe);
    return output;
}

std::map<std::string, std::string> readings(const std::string& output)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (const auto eq = line.find('='); eq != std::string::npos)
            values[line.substr(0, eq)] += (values.count(line.substr(0, eq)) ? "," : "") + line.substr(eq + 1);
    return values;
}

TEST(RegistrationTest, EntriesNameBothClassesTheTypeLibraryAndTheAddIn)
{
    com::Registry registry("/nonexistent/registry.reg");
    registry.SetValue("HKEY_CURRENT_USER\\Software\\Other", "Keep", "me");
    WriteRegistration(registry, "/opt/q/libQuillmark.so");

    for (const auto& [progid, clsid] : {std::pair{ProgIdConnect, CLSID_Connect}, {ProgIdCMMTimer, CLSID_CMMTimer}}) {
        const std::string clsidKey = Classes + "\\CLSID\\" + clsid.ToString();
        EXPECT_EQ(registry.GetString(Classes + "\\" + progid + "\\CLSID", ""), clsid.ToString());
        EXPECT_EQ(registry.GetString(clsidKey + "\\ProgID", ""), progid);
        EXPECT_EQ(registry.GetString(clsidKey + "\\InprocServer32", ""), "/opt/q/libQuillmark.so");
        EXPECT_EQ(registry.GetString(clsidKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    }
    EXPECT_EQ(registry.GetString(Classes + "\\Interface\\" + IID_Connect.ToString(), ""), "_Connect");
    EXPECT_EQ(registry.GetString(Classes + "\\Interface\\" + IID_CMMTimer.ToString(), ""), "_CMMTimer");
    const std::string typeLib = Classes + "\\TypeLib\\" + LIBID_Quillmark.ToString() + "\\1.0";
    EXPECT_EQ(registry.GetString(typeLib, ""), "OfficeVBAｿｰｽｺｰﾄﾞhtml変換");
    EXPECT_EQ(registry.GetString(typeLib + "\\0\\linux64", ""), "/opt/q/libQuillmark.so");

    const std::string addIn = "HKEY_CURRENT_USER\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Quillmark.Connect";
    EXPECT_EQ(AddInKey(), addIn);
    EXPECT_EQ(registry.GetString(addIn, "FriendlyName"), "Quillmark");
    EXPECT_EQ(registry.GetString(addIn, "Description"), "ｿｰｽコードをhtml化します");
    EXPECT_EQ(registry.GetDword(addIn, "LoadBehavior"), 0u);

    RemoveRegistration(registry);
    for (const std::string& key :
         {Classes + "\\" + ProgIdConnect, Classes + "\\" + ProgIdCMMTimer,
          Classes + "\\CLSID\\" + CLSID_Connect.ToString(), Classes + "\\CLSID\\" + CLSID_CMMTimer.ToString(),
          Classes + "\\Interface\\" + IID_Connect.ToString(), Classes + "\\TypeLib\\" + LIBID_Quillmark.ToString(),
          addIn})
        EXPECT_FALSE(registry.KeyExists(key)) << key;
    EXPECT_EQ(registry.GetString("HKEY_CURRENT_USER\\Software\\Other", "Keep"), "me");
}

TEST(RegistrationTest, TheTypeLibraryStaysWhileAnotherPlatformsLibraryIsRegistered)
{
    // The 32-bit and the 64-bit Windows library share the type library's key.
    const RegistrationLayout x86{"HKEY_LOCAL_MACHINE\\Software\\Classes", "win32", AddInKey()};
    const RegistrationLayout x64{"HKEY_LOCAL_MACHINE\\Software\\Classes", "win64", AddInKey(true)};
    const std::string typeLib = x86.classesRoot + "\\TypeLib\\" + LIBID_Quillmark.ToString();
    com::Registry registry("/nonexistent/registry.reg");
    WriteRegistration(registry, "C:\\x86\\Quillmark.dll", x86);
    WriteRegistration(registry, "C:\\x64\\Quillmark.dll", x64);
    EXPECT_EQ(registry.GetString(AddInKey(true), "FriendlyName"), "Quillmark");
    EXPECT_EQ(registry.GetString(typeLib + "\\1.0\\HELPDIR", ""), "C:\\x64");

    RemoveRegistration(registry, x86);
    EXPECT_EQ(registry.GetString(typeLib + "\\1.0\\0\\win64", ""), "C:\\x64\\Quillmark.dll");
    EXPECT_FALSE(registry.KeyExists(typeLib + "\\1.0\\0\\win32"));
    EXPECT_FALSE(registry.KeyExists(AddInKey()));
    EXPECT_TRUE(registry.KeyExists(AddInKey(true)));
    RemoveRegistration(registry, x64);
    EXPECT_FALSE(registry.KeyExists(typeLib));
    EXPECT_FALSE(registry.KeyExists(AddInKey(true)));
}

const RegistrationLayout PerUser64{Classes, "win64", AddInKey(true)};
const RegistrationLayout Machine32{"HKEY_LOCAL_MACHINE\\Software\\Classes", "win32", AddInKey()};
const RegistrationLayout Machine64{"HKEY_LOCAL_MACHINE\\Software\\Classes", "win64", AddInKey(true)};

// Unregistration leaves the registry as registration found it: the keys it created go once
// nothing else is in them, keys that were there before stay, whatever the order of removal.
TEST(RegistrationTest, UnregistrationTakesAwayTheKeysRegistrationCreatedAndNoOthers)
{
    const std::string addIns = "HKEY_CURRENT_USER\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins";
    using Layouts = std::vector<RegistrationLayout>;
    const struct {
        const char* what;
        std::vector<std::string> before; // keys there before, each with a value or empty
        Layouts registered;
        std::vector<Layouts> removals;
    } cases[] = {
        {"an empty registry", {}, {StandinLayout()}, {{StandinLayout()}}},
        {"an empty add-in list was there", {addIns + "\\"}, {StandinLayout()}, {{StandinLayout()}}},
        {"another add-in", {addIns + "\\Other.Connect"}, {StandinLayout()}, {{StandinLayout()}}},
        {"registered twice", {}, {StandinLayout(), StandinLayout()}, {{StandinLayout()}}},
        {"both Offices, the first removed first", {}, {Machine32, Machine64}, {{Machine32}, {Machine64}}},
        {"both Offices, the last removed first", {}, {Machine32, Machine64}, {{Machine64}, {Machine32}}},
        {"per user and for everyone, removed at once", {}, {PerUser64, Machine64}, {{PerUser64, Machine64}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        com::Registry registry("/nonexistent/registry.reg");
        for (const char* root : {"HKEY_CURRENT_USER\\Software", "HKEY_LOCAL_MACHINE\\Software"})
            registry.CreateKey(root);
        for (const std::string& key : c.before) {
            if (key.ends_with('\\'))
                registry.CreateKey(key.substr(0, key.size() - 1));
            else
                registry.SetValue(key, "FriendlyName", "Other");
        }
        const std::string before = registry.Text();
        for (const RegistrationLayout& layout : c.registered)
            WriteRegistration(registry, "C:\\q\\Quillmark.dll", layout);
        for (const Layouts& removal : c.removals)
            RemoveRegistration(registry, removal);
        EXPECT_EQ(registry.Text(), before);
    }
}

// The registry of a user who may not delete what an elevated registration wrote for everyone.
class UserRegistry final : public com::RegistryKeys {
public:
    explicit UserRegistry(com::Registry& registry) : registry_(registry) {}
    bool KeyExists(const std::string& key) const override { return registry_.KeyExists(key); }
    void SetValue(const std::string& key, const std::string& name, Value value) override
    {
        registry_.SetValue(key, name, std::move(value));
    }
    std::optional<Value> GetValue(const std::string& key, const std::string& name) const override
    {
        return registry_.GetValue(key, name);
    }
    std::vector<std::string> SubKeys(const std::string& key) const override { return registry_.SubKeys(key); }
    bool DeleteTree(const std::string& key) override
    {
        if (!CanDeleteTree(key))
            throw com::RegistryError("access denied: " + key);
        return registry_.DeleteTree(key);
    }
    bool IsEmpty(const std::string& key) const override { return registry_.IsEmpty(key); }
    bool CanDeleteTree(const std::string& key) const override
    {
        return !key.starts_with("HKEY_LOCAL_MACHINE\\") || !registry_.KeyExists(key);
    }

private:
    com::Registry& registry_;
};

TEST(RegistrationTest, AnUnregistrationThatIsRefusedRemovesNothing)
{
    com::Registry registry("/nonexistent/registry.reg");
    registry.CreateKey("HKEY_CURRENT_USER\\Software");
    for (const char* key : {"CLSID", "Interface", "TypeLib"}) // as every Windows has them
        registry.CreateKey(Machine64.classesRoot + "\\" + key);
    const std::string before = registry.Text();
    WriteRegistration(registry, "C:\\q\\Quillmark.dll", Machine64);
    const std::string registered = registry.Text();
    const std::vector layouts{PerUser64, Machine64};
    UserRegistry user(registry);
    try {
        RemoveRegistration(user, layouts);
        ADD_FAILURE() << "removed what the user may not remove";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::PermissionDenied) << e.what(); // refused before any key went
    }
    EXPECT_EQ(registry.Text(), registered) << "the add-in entry went, although the classes stay";
    RemoveRegistration(registry, layouts); // elevated
    EXPECT_EQ(registry.Text(), before);
}

// An installation per user beside one for everyone: either removed alone leaves the other's
// classes and the add-in entry that loads them, and a user removes a per-user one without
// touching what is everyone's; removing the other then leaves the registry as it was.
TEST(RegistrationTest, EachScopeRemovedAloneKeepsTheOthersAddInEntry)
{
    const std::string timer = "\\CLSID\\" + CLSID_CMMTimer.ToString() + "\\InprocServer32";
    const std::map<std::string, std::string> libraries{
        {PerUser64.classesRoot, "C:\\Users\\u\\AppData\\Local\\Programs\\Quillmark\\x64\\Quillmark.dll"},
        {Machine64.classesRoot, "C:\\Program Files\\Quillmark\\x64\\Quillmark.dll"}};
    for (const bool userFirst : {true, false}) {
        SCOPED_TRACE(userFirst ? "per user removed first" : "for everyone removed first");
        com::Registry registry("/nonexistent/registry.reg");
        for (const char* root : {"HKEY_CURRENT_USER\\Software", "HKEY_LOCAL_MACHINE\\Software"})
            registry.CreateKey(root);
        const std::string before = registry.Text();
        for (const RegistrationLayout& layout : {PerUser64, Machine64})
            WriteRegistration(registry, libraries.at(layout.classesRoot), layout);
        const RegistrationLayout& first = userFirst ? PerUser64 : Machine64;
        const RegistrationLayout& second = userFirst ? Machine64 : PerUser64;
        UserRegistry user(registry);
        RemoveScopeRegistration(userFirst ? static_cast<com::RegistryKeys&>(user) : registry, first, second);
        EXPECT_FALSE(registry.KeyExists(first.classesRoot + "\\CLSID\\" + CLSID_CMMTimer.ToString()));
        EXPECT_EQ(registry.GetString(second.classesRoot + timer, ""), libraries.at(second.classesRoot));
        EXPECT_EQ(registry.GetString(AddInKey(true), "FriendlyName"), AddInDisplayName);
        RemoveScopeRegistration(registry, second, first);
        EXPECT_EQ(registry.Text(), before);
    }
}

TEST(RegistrationTest, RegisterAndUnregisterRoundTripThroughTheLibrary)
{
    ConfigHomeGuard home("register");
    RecordingMessageBox messages;
    const std::string canonical = std::filesystem::canonical(Library).string();

    ASSERT_EQ(RegisterAddIn(Library), 0);
    {
        const com::Registry registry;
        EXPECT_EQ(registry.GetString(Classes + "\\CLSID\\" + CLSID_Connect.ToString() + "\\InprocServer32", ""),
                  canonical);
        EXPECT_EQ(registry.GetString(AddInKey(), "FriendlyName"), "Quillmark");
    }
    // Registering again changes nothing.
    const std::string once = readFile(com::Registry::DefaultPath());
    ASSERT_EQ(RegisterAddIn(Library), 0);
    EXPECT_EQ(readFile(com::Registry::DefaultPath()), once);

    // Every key that registration created is gone again; the hive's root always exists.
    ASSERT_EQ(UnregisterAddIn(Library), 0);
    EXPECT_EQ(readFile(com::Registry::DefaultPath()), "Windows Registry Editor Version 5.00\n"
                                                      "\n[HKEY_CURRENT_USER]\n");
    try {
        com::CreateObject(ProgIdCMMTimer);
        ADD_FAILURE() << "created after unregistration";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 429);
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST(RegistrationTest, UnregisteringAfterTheLibraryIsGoneStillRemovesTheEntries)
{
    ConfigHomeGuard home("unregister-gone");
    RecordingMessageBox messages;
    com::Registry registry;
    WriteRegistration(registry, home.Path() + "/libQuillmark.so");
    registry.Save();
    EXPECT_EQ(UnregisterAddIn(home.Path() + "/libQuillmark.so"), 0);
    EXPECT_FALSE(com::Registry().KeyExists(AddInKey()));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(RegistrationTest, FailuresAreReportedAndTheRegistryIsKept)
{
    const struct {
        const char* what;
        std::string library;
        std::string registryText;
        std::string expected;
    } cases[] = {
        {"missing library", "/nonexistent/libQuillmark.so", "", "there is no library /nonexistent/libQuillmark.so"},
        {"not a component library", QUILLMARK_PLAIN_LIBRARY, "", "DllGetClassObject"},
        {"damaged registry", Library, "garbage\n", "damaged at line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigHomeGuard home("register-fails");
        if (!c.registryText.empty()) {
            std::filesystem::create_directories(home.Path() + "/quillmark-host");
            std::ofstream(com::Registry::DefaultPath()) << c.registryText;
        }
        for (auto command : {&RegisterAddIn, &UnregisterAddIn}) {
            if (command == &UnregisterAddIn && c.library.starts_with("/nonexistent"))
                continue;
            RecordingMessageBox messages;
            EXPECT_EQ(command(c.library), 1);
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(messages.messages[0].title, "Quillmark");
            EXPECT_NE(messages.messages[0].text.find(c.expected), std::string::npos) << messages.messages[0].text;
        }
        if (!c.registryText.empty())
            EXPECT_EQ(readFile(com::Registry::DefaultPath()), c.registryText);
        else
            EXPECT_FALSE(std::filesystem::exists(com::Registry::DefaultPath()));
    }
}

TEST(RegistrationTest, TheLibraryTellsItsVersionAndTypeLibrary)
{
    const std::string text = VersionText(Library);
    for (const char* expected :
         {"ProductName: Quillmark\n", "ProductVersion: 0.08.0011 (0.8.0.11)\n", "FileVersion: 0.08.0011 (0.8.0.11)\n",
          "FileDescription: VBAのソースコードにｈｔｍｌタグを埋め込む\n", "InternalName: Quillmark\n",
          "OriginalFilename: Quillmark.dll\n", "Language: 0411\n", "OLESelfRegister\n",
          "TypeLibrary: Quillmark 1.0 {8FBEF8D7-0557-40B2-91F0-E13DD07D77FA} "
          "\"OfficeVBAｿｰｽｺｰﾄﾞhtml変換\"\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
    EXPECT_THROW(VersionText("/nonexistent/libQuillmark.so"), RuntimeError);
    EXPECT_THROW(VersionText(QUILLMARK_PLAIN_LIBRARY), RuntimeError);

    const com::ServerLibrary& library = com::LoadServerLibrary(Library);
    const auto find = reinterpret_cast<QuillmarkFindResourceFn>(library.Symbol("QuillmarkFindResource"));
    ASSERT_TRUE(find);
    for (const auto& [name, iid] : {std::pair{"_IID_CONNECT", IID_Connect}, {"_IID_CMMTIMER", IID_CMMTimer}}) {
        std::uint32_t size = 0;
        const auto* bytes = static_cast<const unsigned char*>(find(name, &size));
        ASSERT_TRUE(bytes) << name;
        EXPECT_EQ(size, 20u);
        std::uint32_t length = 0;
        std::memcpy(&length, bytes, 4);
        EXPECT_EQ(length, 16u);
        EXPECT_EQ(std::memcmp(bytes + 4, &iid, 16), 0);
    }
    EXPECT_FALSE(find("_IID_OTHER", nullptr));
}

TEST(RegistrationTest, AConsoleClientProcessCreatesAndDrivesTheClassesByDispatchId)
{
    ConfigHomeGuard home("timer-client");
    RecordingMessageBox messages;
    ASSERT_EQ(RegisterAddIn(Library), 0);

    int status = -1;
    const auto values = readings(run(QUILLMARK_COM_CLIENT, status));
    ASSERT_EQ(status, 0);
    EXPECT_EQ(values.at("ScaleFactor"), "1000,1");
    EXPECT_EQ(values.at("ElapsedTime"), "0");
    const double stopped = std::stod(values.at("Stopped"));
    EXPECT_GE(stopped, 120);
    EXPECT_LT(stopped, 5000);
    EXPECT_EQ(values.at("Later"), values.at("Stopped"));
    EXPECT_EQ(values.count("ByName"), 1u);
    // Without widgets, Show opens nothing and fails nothing.
    EXPECT_EQ(values.at("FormDisplayed"), "True,False");

    ASSERT_EQ(UnregisterAddIn(Library), 0);
    const std::string refused = run(QUILLMARK_COM_CLIENT, status);
    EXPECT_NE(status, 0);
    EXPECT_NE(refused.find("Error 429"), std::string::npos) << refused;
    EXPECT_NE(refused.find("quillmark register"), std::string::npos) << refused;
}

TEST(RegistrationTest, TheLibraryCanUnloadOnlyWithoutLiveObjects)
{
    ConfigHomeGuard home("unload");
    RecordingMessageBox messages;
    ASSERT_EQ(RegisterAddIn(Library), 0);
    const com::ServerLibrary& library = com::LoadServerLibrary(Library);
    EXPECT_EQ(library.canUnloadNow(), com::S_OK);
    {
        auto timer = com::CreateObject(ProgIdCMMTimer);
        EXPECT_EQ(library.canUnloadNow(), com::S_FALSE);
        auto connect = com::CreateObject(ProgIdConnect);
        EXPECT_TRUE(connect.As<com::IDTExtensibility2>(com::IID_IDTExtensibility2));
    }
    EXPECT_EQ(library.canUnloadNow(), com::S_OK);

    void* object = nullptr;
    constexpr com::Guid unknown = com::MakeGuid("00000000-1111-2222-3333-444444444444");
    EXPECT_EQ(library.getClassObject(&unknown, &com::IID_IClassFactory, &object), com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST(RegistrationTest, TheCommandRegistersUnregistersAndShowsTheVersionOfTheLibraryBesideIt)
{
    ConfigHomeGuard home("command");
    const std::string command = QUILLMARK_COMMAND;
    int status = -1;
    EXPECT_EQ(run(command + " --version", status), "quillmark 0.8.0.11\n");
    const std::string version = run(command + " --version --verbose", status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(version.find("FileVersion: 0.08.0011 (0.8.0.11)\n"), std::string::npos) << version;

    run(command + " register", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(com::Registry().GetString(AddInKey(), "Description"), "ｿｰｽコードをhtml化します");
    run(command + " unregister", status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(com::Registry().KeyExists(AddInKey()));
    const std::string again = run(command + " unregister", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(again.rfind("nothing to unregister: Quillmark is not registered for this user", 0), 0u) << again;

    const std::string refused = run(command + " register /nonexistent/libQuillmark.so 2>&1", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(refused.find("Quillmark: "), std::string::npos) << refused;
    EXPECT_NE(refused.find("/nonexistent/libQuillmark.so"), std::string::npos) << refused;
}

} // namespace
} // namespace quillmark
