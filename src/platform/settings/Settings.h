#pragma once

#include <string>

namespace quillmark {

// The per-user application settings store: on Linux one INI file per application under
// $XDG_CONFIG_HOME/VB and VBA Program Settings/, a section and a key inside; on Windows VB's
// own store in the registry. Failures (an unreadable or malformed file, a name the store cannot
// hold, a file that cannot be written) are RuntimeError 75 with the file and what to do; a
// malformed file is never rewritten.
std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                       const std::string& defaultValue = {});
void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& setting);

// The file that holds appName's settings (Linux).
std::string SettingsFilePath(const std::string& appName);

} // namespace quillmark
