#pragma once

#include "conversion/Themes.h"

#include <CLI/CLI.hpp>

#include <map>
#include <string>

namespace quillmark::cli {

// --theme light|dark|editor, as every command that styles code takes it.
inline CLI::Option* AddThemeOption(CLI::App& command, ThemeName& theme)
{
    std::map<std::string, ThemeName> names;
    for (const ThemeName name : {ThemeName::Light, ThemeName::Dark, ThemeName::Editor})
        names.emplace(ThemeOf(name).name, name);
    return command
        .add_option("--theme", theme, "light (default), dark, or editor (like the VBA editor's code window)")
        ->transform(CLI::CheckedTransformer(names));
}

} // namespace quillmark::cli
