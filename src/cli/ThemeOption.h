#pragma once

#include "conversion/Themes.h"

#include <CLI/CLI.hpp>

#include <string>

namespace quillmark::cli {

// --theme light|dark|editor, as every command that styles code takes it.
inline CLI::Option* AddThemeOption(CLI::App& command, ThemeName& theme)
{
    const CLI::Validator names(
        [](std::string& value) -> std::string {
            const auto name = ThemeNamed(value);
            if (!name)
                return value + " not in {light,dark,editor}";
            value = std::to_string(static_cast<int>(*name));
            return {};
        },
        "light|dark|editor");
    return command.add_option("--theme", theme, "light (default), dark, or editor (like the VBA editor's code window)")
        ->type_name("THEME")
        ->transform(names);
}

} // namespace quillmark::cli
