#include "cli/site/IndexPage.h"

#include "cli/site/SitePaths.h"
#include "conversion/HtmlEscape.h"

#include <algorithm>

namespace quillmark::cli {

namespace {

constexpr const char* kFilterScript = R"(<script>
(function () {
  var box = document.getElementById("search");
  var nothing = document.querySelector(".NoMatch");
  function holds(element, text) { return element.textContent.toLowerCase().indexOf(text) >= 0; }
  function filter() {
    var text = box.value.trim().toLowerCase(), shown = 0;
    document.querySelectorAll(".Project").forEach(function (project) {
      var modules = 0;
      project.querySelectorAll(".Module").forEach(function (module) {
        var whole = holds(module.querySelector(".Name"), text), procedures = 0;
        module.querySelectorAll(".Procedures li").forEach(function (procedure) {
          procedure.hidden = !(whole || holds(procedure, text));
          if (!procedure.hidden) procedures++;
        });
        module.hidden = !(whole || procedures > 0);
        if (!module.hidden) modules++;
      });
      project.hidden = modules === 0 && text !== "";
      shown += modules;
    });
    nothing.hidden = shown > 0 || text === "";
  }
  box.addEventListener("input", filter);
  filter();
})();
</script>
)";

std::string Counted(std::size_t count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::size_t ProcedureCount(const SiteModule& module)
{
    return static_cast<std::size_t>(std::count_if(module.procedures.begin(), module.procedures.end(),
                                                  [](const SiteProcedure& p) { return !p.record.ProcName.empty(); }));
}

void AppendModule(const SiteModule& module, std::string& html)
{
    const std::string page = Href(kIndexPage, module.page);
    html += "<li class=\"Module\"><span class=\"Name\">";
    if (!module.folder.empty())
        html += "<span class=\"Folder\">" + EscapeName(module.folder) + "/</span>";
    html += "<a href=\"" + page + "\">" + EscapeName(module.name) + "</a></span> <span class=\"Type\">";
    html += TypeLabel(module.type) + "</span> <span class=\"Counts\">" +
            Counted(static_cast<std::size_t>(module.lineCount), "line") + ", " +
            Counted(ProcedureCount(module), "procedure") + "</span>\n";
    html += "<ul class=\"Procedures\">\n";
    for (const SiteProcedure& procedure : module.procedures) {
        const std::string& name = procedure.record.ProcName;
        if (!name.empty())
            html += "<li><a href=\"" + Href(kIndexPage, module.page, name) + "\">" + EscapeName(name) + "</a></li>\n";
    }
    html += "</ul>\n</li>\n";
}

} // namespace

std::string IndexPage(const std::vector<SiteProject>& projects)
{
    std::string names;
    for (const SiteProject& project : projects)
        names += (names.empty() ? "" : ", ") + project.name;
    std::string html = PageStart(kIndexPage, names);
    html += "<h1>";
    html += EscapeName(names);
    html += "</h1>\n<input id=\"search\" type=\"search\" placeholder=\"Filter modules and procedures\" "
            "aria-label=\"Filter modules and procedures\" autocomplete=\"off\">\n"
            "<p class=\"NoMatch\" hidden>No module or procedure matches.</p>\n";
    for (const SiteProject& project : projects) {
        std::size_t procedures = 0;
        for (const SiteModule& module : project.modules)
            procedures += ProcedureCount(module);
        html += "<section class=\"Project\">\n";
        if (projects.size() > 1) // else the page's heading names it
            html += "<h2>" + EscapeName(project.name) + "</h2>\n";
        html += "<p class=\"Counts\">" + Counted(project.modules.size(), "module") + ", " +
                Counted(procedures, "procedure") + "</p>\n";
        html += "<ul class=\"Modules\">\n";
        for (const SiteModule& module : project.modules)
            AppendModule(module, html);
        html += "</ul>\n</section>\n";
    }
    html += kFilterScript;
    html += "</body>\n</html>\n";
    return html;
}

} // namespace quillmark::cli
