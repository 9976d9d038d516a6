// The settings store of VB's SaveSetting and GetSetting: "HKEY_CURRENT_USER\Software\VB and VBA
// Program Settings\<application>\<section>", one string value per key.

#include "platform/settings/Settings.h"

#include "base/RuntimeError.h"
#include "platform/win32/SystemRegistry.h"

namespace quillmark {
namespace {

void CheckName(const std::string& what, const std::string& name)
{
    if (name.empty() || name.find('\\') != std::string::npos)
        throw RuntimeError(err::InvalidCall, "設定の" + what + "「" + name + "」は使えない名前です。");
}

std::string SectionKey(const std::string& appName, const std::string& section, const std::string& key)
{
    CheckName("アプリケーション名", appName);
    CheckName("セクション", section);
    CheckName("キー", key);
    return "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\" + appName + "\\" + section;
}

} // namespace

std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                       const std::string& defaultValue)
{
    const std::string where = SectionKey(appName, section, key);
    try {
        const auto value = win32::SystemRegistry().GetValue(where, key);
        if (!value)
            return defaultValue;
        if (const auto* text = std::get_if<std::string>(&*value))
            return *text;
        return std::to_string(std::get<std::uint32_t>(*value));
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess, "設定を読めません: " + e.Description());
    }
}

void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& setting)
{
    const std::string where = SectionKey(appName, section, key);
    try {
        win32::SystemRegistry().SetValue(where, key, setting);
    } catch (const RuntimeError& e) {
        throw RuntimeError(err::PathFileAccess, "設定を保存できません: " + e.Description());
    }
}

} // namespace quillmark
