#include "cli/HtmlPage.h"

#include "cli/StyleSheet.h"
#include "conversion/HtmlEscape.h"

namespace quillmark::cli {

std::string HtmlPage(const std::string& title, const std::string& fragment)
{
    std::string page;
    page.reserve(fragment.size() + 1024);
    page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    page += EscapeName(title);
    page += "</title>\n<style>\n";
    page += StyleSheet(ThemeName::Light);
    page += "</style>\n</head>\n<body>\n";
    page += fragment;
    page += "\n</body>\n</html>\n";
    return page;
}

std::string InlineStyledPage(const std::string& title, const std::string& fragment, ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + EscapeName(title) +
                       "</title>\n</head>\n<body style=\"background: " + std::string(theme.page) +
                       "; color: " + std::string(theme.text) + "\">\n";
    page += fragment;
    page += "\n</body>\n</html>\n";
    return page;
}

} // namespace quillmark::cli
