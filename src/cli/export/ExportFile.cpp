#include "cli/export/ExportFile.h"

#include "base/AsciiText.h"
#include "codemodel/HostObjectModel.h"
#include "codemodel/LineBreaks.h"

#include <algorithm>
#include <array>
#include <regex>

namespace quillmark::cli {

namespace {

// Each line of text, without its break.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    LineBreaks breaks(text);
    for (std::size_t at = 0; at < text.size();) {
        const LineBreaks::Break lineBreak = breaks.Next(at);
        lines.push_back(text.substr(at, lineBreak.at - at));
        at = lineBreak.at + lineBreak.length;
    }
    return lines;
}

std::string_view TrimmedLeft(std::string_view text)
{
    return text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
}

bool StartsWithWord(std::string_view line, std::string_view word)
{
    return line.size() >= word.size() && SameName(line.substr(0, word.size()), word);
}

// Whether line sets the property name ("  Name = value").
bool SetsProperty(std::string_view line, std::string_view name)
{
    const std::string_view text = TrimmedLeft(line);
    return StartsWithWord(text, name) && TrimmedLeft(text.substr(name.size())).starts_with('=');
}

// The designer text as the editor exports it: without the trailing blanks the project keeps,
// without TypeInfoVer, the designer's own count of its saves, and without a pointer into a
// binary part that is not written beside it.
void AppendDesigner(std::string& out, std::string_view designer, bool withBinaryPart)
{
    for (std::string_view line : Lines(designer)) {
        line = line.substr(0, line.find_last_not_of(" \t") + 1);
        if (SetsProperty(line, "TypeInfoVer") || (!withBinaryPart && SetsProperty(line, "OleObjectBlob")))
            continue;
        out += line;
        out += "\r\n";
    }
}

// The module attributes that bind a module to its document or designer, which the editor leaves
// out of an exported file.
bool IsBindingAttribute(std::string_view line)
{
    constexpr std::array<std::string_view, 3> names{"VB_Base", "VB_TemplateDerived", "VB_Customizable"};
    if (!StartsWithWord(line, "Attribute "))
        return false;
    const std::string_view rest = TrimmedLeft(line.substr(std::string_view("Attribute ").size()));
    return std::any_of(names.begin(), names.end(), [&](std::string_view name) { return SetsProperty(rest, name); });
}

} // namespace

std::string_view ExportExtension(std::int32_t type)
{
    if (type == vbext_ct::StdModule)
        return ".bas";
    return type == vbext_ct::MSForm ? ".frm" : ".cls";
}

std::string ExportText(const StoredModule& module)
{
    std::string out;
    if (module.type == vbext_ct::MSForm) {
        if (module.designer.empty())
            out = "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} " + module.name + "\r\nEnd\r\n";
        else
            AppendDesigner(out, module.designer, !module.binaryPart.empty());
    } else if (module.type != vbext_ct::StdModule) {
        out = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n";
    }
    const std::vector<std::string_view> lines = Lines(module.text);
    if (std::none_of(lines.begin(), lines.end(), [](std::string_view line) {
            return StartsWithWord(line, "Attribute VB_Name ") || StartsWithWord(line, "Attribute VB_Name=");
        }))
        out += "Attribute VB_Name = \"" + module.name + "\"\r\n";
    bool header = true; // the module attributes come first; member attributes stay
    for (const std::string_view line : lines) {
        header = header && StartsWithWord(line, "Attribute ");
        if (header && IsBindingAttribute(line))
            continue;
        out += line;
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> AnnotatedFolders(std::string_view text)
{
    static const std::regex procedure(
        R"(^\s*((Public|Private|Friend)\s+)?(Static\s+)?(Sub|Function|Property\s+(Get|Let|Set))\s)",
        std::regex::icase | std::regex::optimize);
    static const std::regex folder(R"re(^\s*'\s*@Folder\s*(\(\s*)?"((?:[^"]|"")*)")re",
                                   std::regex::icase | std::regex::optimize);
    for (const std::string_view line : Lines(text)) {
        std::match_results<std::string_view::const_iterator> match;
        if (std::regex_search(line.begin(), line.end(), match, procedure))
            break;
        if (!std::regex_search(line.begin(), line.end(), match, folder))
            continue;
        std::string name = match[2].str();
        for (std::size_t quote = name.find("\"\""); quote != std::string::npos; quote = name.find("\"\"", quote + 1))
            name.erase(quote, 1);
        std::vector<std::string> folders;
        for (std::size_t start = 0; start <= name.size();) {
            const std::size_t dot = std::min(name.find('.', start), name.size());
            if (dot > start)
                folders.push_back(name.substr(start, dot - start));
            start = dot + 1;
        }
        return folders;
    }
    return {};
}

} // namespace quillmark::cli
