#include "cli/site/SitePaths.h"

#include "codemodel/AsciiText.h"
#include "conversion/HtmlEscape.h"

#include <algorithm>
#include <set>

namespace quillmark::cli {

namespace {

constexpr std::size_t kMaxNameBytes = 150;

bool IsSafe(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ' ' || c >= 0x80;
}

bool IsUnreserved(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string PercentEncoded(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::vector<std::string_view> PathParts(std::string_view path)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos)
            return parts;
        start = slash + 1;
    }
}

} // namespace

std::string SafeFileName(std::string_view name)
{
    // A cut must not split a UTF-8 sequence.
    std::size_t end = std::min(name.size(), kMaxNameBytes);
    while (end < name.size() && end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    std::string safe;
    for (const char c : name.substr(0, end))
        safe += IsSafe(static_cast<unsigned char>(c)) ? c : '_';
    if (safe.empty())
        return "_";
    for (char* edge : {&safe.front(), &safe.back()})
        if (*edge == '.' || *edge == ' ')
            *edge = '_';
    return safe;
}

void PlanPages(std::vector<SiteProject>& projects)
{
    std::set<std::string> taken{LowerAscii(kIndexPage), LowerAscii(kStyleSheetFile)};
    const auto claim = [&taken](const std::string& folder, const std::string& stem, std::string_view extension) {
        for (int n = 1;; ++n) {
            std::string path = folder + stem + (n > 1 ? "-" + std::to_string(n) : "") + std::string(extension);
            if (taken.insert(LowerAscii(path)).second)
                return path;
        }
    };
    for (SiteProject& project : projects) {
        project.folder = claim("", SafeFileName(project.name), "");
        // The subfolders first, so that no page takes the name of one.
        for (const SiteModule& module : project.modules) {
            if (module.folder.empty())
                continue;
            std::string folder = project.folder;
            for (const std::string_view part : PathParts(module.folder))
                taken.insert(LowerAscii(folder += "/" + std::string(part)));
        }
        for (SiteModule& module : project.modules) {
            const std::string folder = project.folder + "/" + (module.folder.empty() ? "" : module.folder + "/");
            module.page = claim(folder, SafeFileName(module.name), ".html");
        }
    }
}

std::string Href(std::string_view fromPage, std::string_view toPage, std::string_view anchor)
{
    std::string href;
    if (toPage != fromPage) {
        std::vector<std::string_view> from = PathParts(fromPage);
        from.pop_back(); // the page's own file name
        const std::vector<std::string_view> to = PathParts(toPage);
        std::size_t common = 0;
        while (common < from.size() && common + 1 < to.size() && from[common] == to[common])
            ++common;
        for (std::size_t i = common; i < from.size(); ++i)
            href += "../";
        for (std::size_t i = common; i < to.size(); ++i) {
            if (i > common)
                href += '/';
            href += PercentEncoded(to[i]);
        }
    }
    if (!anchor.empty()) {
        href += '#';
        href += PercentEncoded(anchor);
    }
    return href;
}

std::string PageStart(std::string_view page, std::string_view title)
{
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           EscapeName(title) + "</title>\n<link rel=\"stylesheet\" href=\"" + Href(page, kStyleSheetFile) +
           "\">\n</head>\n<body>\n";
}

} // namespace quillmark::cli
