#include "cli/site/SitePaths.h"

#include "base/AsciiText.h"
#include "base/ShortName.h"
#include "cli/site/CaseKey.h"
#include "cli/site/PathClaims.h"
#include "conversion/HtmlEscape.h"

#include <algorithm>
#include <unordered_map>

namespace quillmark::cli {

namespace {

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

// Windows opens a device for these names, whatever follows their first dot.
bool IsDeviceName(std::string_view base)
{
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string name = LowerAscii(base);
    if (name == "con" || name == "prn" || name == "aux" || name == "nul")
        return true;
    if (!name.starts_with("com") && !name.starts_with("lpt"))
        return false;
    // Windows reads the superscripts one to three as digits here, and reserves port 0 too.
    const std::string_view port = std::string_view(name).substr(3);
    return (port.size() == 1 && port[0] >= '0' && port[0] <= '9') || port == "\u00B9" || port == "\u00B2" ||
           port == "\u00B3";
}

} // namespace

std::string SafeFileName(std::string_view name, std::string_view extension)
{
    std::string safe;
    safe.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const auto next = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
        if (c == 0xC2 && next >= 0x80 && next < 0xA0) { // U+0080 to U+009F, controls too
            safe += '_';
            ++i;
            continue;
        }
        safe += IsSafe(c) ? static_cast<char>(c) : '_';
    }
    if (safe.empty())
        safe = "_";
    for (char* edge : {&safe.front(), &safe.back()})
        if (*edge == '.' || *edge == ' ')
            *edge = '_';
    if (IsDeviceName(std::string_view(safe).substr(0, safe.find('.'))))
        safe.insert(std::min(safe.find_first_of(". "), safe.size()), "_");
    if (safe.size() + extension.size() > kMaxNameBytes) {
        const std::string hash = NameHash(name);
        safe = std::string(CutUtf8(safe, kMaxNameBytes - extension.size() - hash.size())) + hash;
    }
    return safe + std::string(extension);
}

void PlanPages(std::vector<SiteProject>& projects)
{
    PathClaims claims{kIndexPage, kStyleSheetFile};
    for (SiteProject& project : projects) {
        project.folder = claims.Claim("", project.name, "");
        // The folders first, so that no page takes the name of one. Each folder of the project's
        // files has one in the site, whatever its name becomes.
        std::unordered_map<std::string, std::string> folders{{"", project.folder}};
        for (const SiteModule& module : project.modules) {
            if (folders.contains(module.folder))
                continue;
            std::string folder;
            std::string siteFolder = project.folder;
            for (const std::string_view part : PathParts(module.folder)) {
                folder += (folder.empty() ? "" : "/") + std::string(part);
                const auto [at, added] = folders.try_emplace(folder);
                if (added)
                    at->second = claims.Claim(siteFolder + "/", part, "");
                siteFolder = at->second;
            }
        }
        for (SiteModule& module : project.modules)
            module.page = claims.Claim(folders.at(module.folder) + "/", module.name, ".html");
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
