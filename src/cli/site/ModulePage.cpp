#include "cli/site/ModulePage.h"

#include "cli/site/SitePaths.h"
#include "conversion/HtmlEscape.h"
#include "conversion/LinkLists.h"

namespace quillmark::cli {

namespace {

// The jump links of the converter's list, each item closed, and without the link to the
// declarations when the first procedure leaves none.
std::string JumpLinks(const SiteModule& module, const ProcedureIndex& index)
{
    const LinkTargets links = LinkTargetsOf(module.name, index, Entry{});
    const bool hasDeclarations = index.front().FirstLine != 1;
    std::string html = "<nav class=\"Jumps\"><ul>\n";
    for (std::size_t k = hasDeclarations ? 0 : 1; k < links.ids.size(); ++k) {
        html += LinkElement(links.ids[k]);
        html += "</li>\n";
    }
    html += "</ul>\n</nav>\n";
    return html;
}

} // namespace

std::string ModulePageTop(const SiteProject& project, const SiteModule& module, const ProcedureIndex& index,
                          std::string_view problem, bool lineNumbers)
{
    std::string html = PageStart(module.page, module.name + " — " + project.name);
    html += "<nav class=\"Trail\"><a href=\"";
    html += Href(module.page, kIndexPage);
    html += "\">Index</a> / ";
    html += EscapeName(project.name);
    if (!module.folder.empty()) {
        html += " / <span class=\"Folder\">";
        html += EscapeName(module.folder);
        html += "</span>";
    }
    html += "</nav>\n<h1>";
    html += EscapeName(module.name);
    html += " <span class=\"Type\">";
    html += TypeLabel(module.type);
    html += "</span></h1>\n";
    if (!problem.empty()) {
        html += "<p class=\"Problem\">";
        html += EscapeName(problem);
        html += "</p>\n";
    }
    html += JumpLinks(module, index);
    html += lineNumbers ? "<main class=\"Code Numbered\">\n" : "<main class=\"Code\">\n";
    return html;
}

std::string UsedByList(const SiteProject& project, const SiteModule& module, const SiteProcedure& procedure)
{
    if (procedure.usedBy.empty())
        return {};
    std::string html = "<nav class=\"UsedBy\">Used by ";
    for (const Caller& caller : procedure.usedBy) {
        const SiteModule& from = project.modules[caller.module];
        const SiteProcedure& user = from.procedures[caller.procedure];
        if (&caller != &procedure.usedBy.front())
            html += ", ";
        html += "<a href=\"";
        html +=
            Href(module.page, from.page, caller.line > 0 ? "L" + std::to_string(caller.line) : ProcedureAnchor(user));
        html += "\">";
        if (&from != &module)
            html += EscapeName(from.name) + ".";
        html += EscapeName(user.record.ProcName);
        html += "</a>";
    }
    html += "</nav>";
    return html;
}

std::string_view ModulePageBottom()
{
    return "\n</main>\n</body>\n</html>\n";
}

} // namespace quillmark::cli
