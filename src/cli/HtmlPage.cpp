#include "cli/HtmlPage.h"

#include "conversion/HtmlEscape.h"

namespace quillmark::cli {
namespace {

constexpr const char* kStyle = R"(body { font-family: sans-serif; margin: 1.5em; }
.CodeArea { margin: 0 0 1em; border-left: 3px solid #b0b8c8; background: #f7f8fa; }
.CodeArea p { margin: 0; padding: .5em 1em; white-space: pre; overflow-x: auto;
  font-family: "IPAGothic", "MS Gothic", monospace; font-size: 10pt; line-height: 1.35; }
.Deco1 { color: #008000; }
.Deco2 { color: #a31515; }
.Deco3 { color: #00008b; font-weight: bold; }
.Deco4 { color: #8b008b; text-decoration: underline; }
.Deco5 { color: #1f4e79; }
ul { font-family: sans-serif; }
)";

} // namespace

std::string HtmlPage(const std::string& title, const std::string& fragment)
{
    std::string page;
    page.reserve(fragment.size() + 1024);
    page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    page += EscapeName(title);
    page += "</title>\n<style>\n";
    page += kStyle;
    page += "</style>\n</head>\n<body>\n";
    page += fragment;
    page += "\n</body>\n</html>\n";
    return page;
}

} // namespace quillmark::cli
