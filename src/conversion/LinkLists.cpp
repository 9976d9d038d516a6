#include "conversion/LinkLists.h"

#include "codemodel/RuntimeError.h"
#include "conversion/HtmlEscape.h"

namespace quillmark {

namespace {

const std::string ListOpen = "<ul>";
const std::string ListClose = "</ul>\r\n";

std::string DeclarationsTarget(std::string_view moduleName)
{
    return std::string(moduleName) + ".Declarations";
}

// No closing </li>: the list items are left open on purpose, as browsers accept.
std::string Link(const std::string& target)
{
    const std::string name = EscapeName(target);
    return "<li><a href=\"#" + name + "\">GoTo " + name + "</a>";
}

std::vector<std::string> WholeModuleList(std::string_view moduleName, const ProcedureIndex& index)
{
    if (index.empty())
        throw RuntimeError(err::SubscriptOutOfRange); // never built, or released
    const std::size_t upper = index.size() - 1;
    std::vector<std::string> list(upper + 4);
    list[0] = ListOpen;
    list[1] = Link(DeclarationsTarget(moduleName));
    if (!index[0].ProcName.empty()) {
        for (std::size_t k = 0; k <= upper; ++k)
            list[k + 2] = Link(index[k].ProcName);
        list[upper + 3] = ListClose;
    } else {
        // A module without procedures: its one record is a placeholder, and the last element
        // stays empty.
        list[upper + 2] = ListClose;
    }
    return list;
}

} // namespace

std::vector<std::string> LinkList(std::string_view moduleName, const ProcedureIndex& index, const Entry& entry)
{
    switch (entry.kind) {
    case Entry::Kind::WholeModule: return WholeModuleList(moduleName, index);
    case Entry::Kind::Declarations: return {ListOpen, Link(DeclarationsTarget(moduleName)), ListClose};
    case Entry::Kind::Procedure: break;
    }
    return {ListOpen, Link(entry.procName), ListClose};
}

} // namespace quillmark
