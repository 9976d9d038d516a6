#include "platform/settings/Settings.h"

#include "base/RuntimeError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileReading.h"
#include "platform/settings/IniFile.h"

namespace quillmark {
namespace {

void CheckName(const std::string& what, const std::string& name)
{
    if (name.empty() || name.find_first_of("[]=\r\n/") != std::string::npos || name.front() == ';' ||
        name.front() == '#' || name.front() == ' ' || name.back() == ' ')
        throw RuntimeError(err::InvalidCall, "設定の" + what + "「" + name + "」は使えない名前です。");
}

IniFile Load(const std::string& path)
{
    FileText file;
    try {
        file = ReadWholeFile(path);
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess, "設定ファイル「" + path + "」を読めません: " + e.Problem());
    }
    try {
        return IniFile::Parse(file.text);
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess,
                           "設定ファイル「" + path + "」の " + std::to_string(e.Place().line) +
                               " 行目が壊れています (" + e.Problem() +
                               ")。ファイルを直すか別の場所へ移してください。ファイルは変更していません。");
    }
}

} // namespace

std::string SettingsFilePath(const std::string& appName)
{
    return ConfigHome() + "/VB and VBA Program Settings/" + appName + ".ini";
}

std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                       const std::string& defaultValue)
{
    CheckName("アプリケーション名", appName);
    CheckName("セクション", section);
    CheckName("キー", key);
    return Load(SettingsFilePath(appName)).Get(section, key).value_or(defaultValue);
}

void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& setting)
{
    CheckName("アプリケーション名", appName);
    CheckName("セクション", section);
    CheckName("キー", key);
    const std::string path = SettingsFilePath(appName);
    IniFile file = Load(path);
    file.Set(section, key, setting);
    try {
        CreateParentFolders(path);
        WriteFileAtomically(path, file.Text());
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess, "設定を保存できません: " + e.Message());
    }
}

} // namespace quillmark
