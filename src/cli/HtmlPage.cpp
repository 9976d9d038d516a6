#include "cli/HtmlPage.h"

#include "cli/StyleSheet.h"
#include "conversion/HtmlEscape.h"

namespace quillmark::cli {

std::string HtmlPage(const std::string& title, ThemeName theme, const std::string& fragment,
                     std::optional<std::int32_t> firstLine, bool markedLines)
{
    const std::string escapedTitle = EscapeName(title);
    std::string page;
    page.reserve(fragment.size() + 8192);
    page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    page += escapedTitle;
    page += "</title>\n<style>\n";
    page += StyleSheet(theme);
    if (markedLines)
        page += MarkedLinesRule();
    page += "</style>\n</head>\n<body>\n<h1>";
    page += escapedTitle;
    page += "</h1>\n";
    if (firstLine) {
        // The style sheet counts the lines from the number before the first.
        page += "<main class=\"Numbered\"";
        if (*firstLine != 1)
            page += " style=\"counter-reset: line " + std::to_string(*firstLine - 1) + "\"";
        page += ">\n";
    }
    page += fragment;
    page += firstLine ? "\n</main>\n</body>\n</html>\n" : "\n</body>\n</html>\n";
    return page;
}

std::string InlineStyledPage(const std::string& title, const std::string& fragment, ThemeName name)
{
    const Theme& theme = ThemeOf(name);
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + EscapeName(title) +
                       "</title>\n</head>\n<body style=\"background: " + std::string(theme.page) +
                       "; color: " + std::string(theme.text) + "\">\n<h1>" + EscapeName(title) + "</h1>\n";
    page += fragment;
    page += "\n</body>\n</html>\n";
    return page;
}

} // namespace quillmark::cli
