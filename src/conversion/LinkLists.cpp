#include "conversion/LinkLists.h"

#include "base/RuntimeError.h"
#include "conversion/HtmlEscape.h"

namespace quillmark {

namespace {

const std::string ListOpen = "<ul>";
const std::string ListClose = "</ul>\r\n";

std::string DeclarationsTarget(std::string_view moduleName)
{
    return std::string(moduleName) + ".Declarations";
}

} // namespace

LinkTargets LinkTargetsOf(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry)
{
    LinkTargets links;
    links.ids.push_back(entry.kind == Entry::Kind::Procedure ? entry.procName : DeclarationsTarget(moduleName));
    if (entry.kind != Entry::Kind::WholeModule)
        return links;
    if (index.empty())
        throw RuntimeError(err::SubscriptOutOfRange); // never built, or released
    if (index.front().ProcName.empty()) {
        links.placeholders = index.size(); // a module without procedures
        return links;
    }
    for (const ProcRecord& record : index)
        links.ids.push_back(record.ProcName);
    return links;
}

// No closing </li>: the list items are left open on purpose, as browsers accept.
std::string LinkElement(std::string_view id, std::string_view style)
{
    const std::string name = EscapeName(id);
    const std::string styled = style.empty() ? "" : "\" style=\"" + std::string(style);
    return "<li><a href=\"#" + name + styled + "\">GoTo " + name + "</a>";
}

std::vector<std::string> LinkListElements(const LinkTargets& links, std::string_view linkStyle)
{
    std::vector<std::string> list{ListOpen};
    for (const std::string& id : links.ids)
        list.push_back(LinkElement(id, linkStyle));
    // Each placeholder record takes the place of a link; the last one's empty line follows the
    // list's end.
    if (links.placeholders > 0)
        list.resize(list.size() + links.placeholders - 1);
    list.push_back(ListClose);
    if (links.placeholders > 0)
        list.emplace_back();
    return list;
}

std::string LinkListText(const LinkTargets& links, std::string_view linkStyle)
{
    const std::vector<std::string> list = LinkListElements(links, linkStyle);
    std::string text = list.front();
    for (std::size_t k = 1; k < list.size(); ++k)
        text += "\r\n" + list[k];
    return text;
}

std::vector<std::string> LinkList(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry)
{
    return LinkListElements(LinkTargetsOf(moduleName, index, entry));
}

} // namespace quillmark
