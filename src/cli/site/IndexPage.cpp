#include "cli/site/IndexPage.h"

#include "cli/site/SitePaths.h"
#include "conversion/HtmlEscape.h"

#include <algorithm>

namespace quillmark::cli {

namespace {

// The texts are read once at load; a keystroke compares them and touches only the elements it
// shows or hides (querying the page for every module's procedures at each keystroke took seconds
// with thousands of modules).
constexpr const char* kFilterScript = R"(<script>
(function () {
  var box = document.getElementById("search");
  var nothing = document.querySelector(".NoMatch");
  function item(element, label) { return { element: element, text: label.textContent.toLowerCase() }; }
  function children(element, each) {
    for (var child = element.firstElementChild; child; child = child.nextElementSibling) each(child);
  }
  var projects = [];
  document.querySelectorAll(".Modules").forEach(function (element) {
    var list = { element: element, modules: [] };
    children(element, function (moduleElement) {
      var module = item(moduleElement, moduleElement.querySelector(".Name"));
      module.procedures = [];
      children(moduleElement.querySelector(".Procedures"), function (procedure) {
        module.procedures.push(item(procedure, procedure));
      });
      list.modules.push(module);
    });
    var project = projects[projects.length - 1];
    if (!project || project.element !== element.parentElement)
      projects.push(project = { element: element.parentElement, lists: [] });
    project.lists.push(list);
  });
  function show(entry, shown) {
    if (entry.element.hidden === shown) entry.element.hidden = !shown;
    return shown;
  }
  function filter() {
    var text = box.value.trim().toLowerCase(), shown = 0;
    projects.forEach(function (project) {
      var modules = 0;
      project.lists.forEach(function (list) {
        var listed = 0;
        list.modules.forEach(function (module) {
          var whole = module.text.indexOf(text) >= 0;
          function matches(procedure) { return whole || procedure.text.indexOf(text) >= 0; }
          if (!show(module, whole || module.procedures.some(matches))) return;
          listed++;
          // The procedures of a hidden module are left as they are: no one sees them.
          module.procedures.forEach(function (procedure) { show(procedure, matches(procedure)); });
        });
        show(list, listed > 0);
        modules += listed;
      });
      show(project, modules > 0 || text === "");
      shown += modules;
    });
    nothing.hidden = shown > 0 || text === "";
  }
  box.addEventListener("input", filter);
  filter();
})();
</script>
)";

// A project's modules are listed this many at a time; the style sheet lays out only the lists
// near the view, so that a page of tens of thousands of modules opens and filters quickly.
constexpr std::size_t kModulesPerList = 100;

std::string Counted(std::size_t count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::size_t ProcedureCount(const SiteModule& module)
{
    return static_cast<std::size_t>(std::count_if(module.procedures.begin(), module.procedures.end(),
                                                  [](const SiteProcedure& p) { return !p.record.ProcName.empty(); }));
}

void AppendModule(const SiteModule& module, const std::string& id, std::string& html)
{
    const std::string page = Href(kIndexPage, module.page);
    html += id.empty() ? "<li class=\"Module\">" : "<li class=\"Module\" id=\"" + id + "\">";
    html += "<span class=\"Name\">";
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
            html += "<li><a href=\"" + Href(kIndexPage, module.page, ProcedureAnchor(procedure)) + "\">" +
                    EscapeName(name) + "</a></li>\n";
    }
    html += "</ul>\n</li>\n";
}

// What --exclude left out, folded away: the reader asked for it, but may wonder where it went.
void AppendExcluded(const std::vector<ExcludedPath>& excluded, std::string& html)
{
    if (excluded.empty())
        return;
    html += "<details class=\"Excluded\"><summary>" + Counted(excluded.size(), "path") +
            " left out by --exclude</summary>\n<ul>\n";
    for (const ExcludedPath& path : excluded)
        html += "<li><code>" + EscapeName(path.path) + "</code> matches <code>" + EscapeName(path.pattern) +
                "</code></li>\n";
    html += "</ul>\n</details>\n";
}

// The files that could not be read, and why, folded away as the excluded ones are.
void AppendLeftOut(const std::vector<RuntimeError>& leftOut, const std::string& folder, const char* noun,
                   std::string& html)
{
    if (leftOut.empty())
        return;
    html += "<details class=\"Excluded\"><summary>" + Counted(leftOut.size(), noun) + " left out</summary>\n<ul>\n";
    // Below folder, whichever separator the system named it with ("\\" on Windows).
    const auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    const std::size_t below = folder.size() + (folder.empty() || isSeparator(folder.back()) ? 0 : 1);
    for (const RuntimeError& problem : leftOut) {
        std::string path = problem.Place().path;
        if (!folder.empty() && path.size() > below && path.starts_with(folder) && isSeparator(path[below - 1]))
            path.erase(0, below);
        html += "<li><code>" + EscapeName(path) + "</code>: " + EscapeName(problem.Problem()) + "</li>\n";
    }
    html += "</ul>\n</details>\n";
}

std::string ProjectId(std::size_t project)
{
    return "P" + std::to_string(project + 1);
}

std::string FolderId(std::size_t project, std::size_t folder)
{
    return ProjectId(project) + "-" + std::to_string(folder + 1);
}

// Each project with its count of modules and, when its modules lie in more than one folder,
// each folder, all linked to their place in the lists; nothing for one project of one folder.
void AppendContents(const std::vector<SiteProject>& projects, std::string& html)
{
    const auto folders = [](const SiteProject& project) {
        std::vector<const SiteModule*> first; // module of each folder
        for (const SiteModule& module : project.modules)
            if (first.empty() || first.back()->folder != module.folder)
                first.push_back(&module);
        return first;
    };
    if (projects.size() == 1 && folders(projects.front()).size() < 2)
        return;
    html += "<nav class=\"Contents\"><ul>\n";
    for (std::size_t p = 0; p < projects.size(); ++p) {
        const SiteProject& project = projects[p];
        html += "<li><a href=\"#" + ProjectId(p) + "\">" + EscapeName(project.name) + "</a> <span class=\"Counts\">" +
                Counted(project.modules.size(), "module") + "</span>";
        const auto first = folders(project);
        if (first.size() > 1) {
            html += "\n<ul>\n";
            for (std::size_t f = 0; f < first.size(); ++f)
                html += "<li><a href=\"#" + FolderId(p, f) + "\">" +
                        EscapeName(first[f]->folder.empty() ? "(top)" : first[f]->folder + "/") + "</a></li>\n";
            html += "</ul>\n";
        }
        html += "</li>\n";
    }
    html += "</ul></nav>\n";
}

} // namespace

std::string IndexPage(const std::vector<SiteProject>& projects, const std::string& title, const LeftOutOfSite& leftOut)
{
    std::string names = title;
    if (names.empty())
        for (const SiteProject& project : projects)
            names += (names.empty() ? "" : ", ") + project.name;
    std::string html = PageStart(kIndexPage, names);
    html += "<h1>";
    html += EscapeName(names);
    html += "</h1>\n<input id=\"search\" type=\"search\" placeholder=\"Filter modules and procedures\" "
            "aria-label=\"Filter modules and procedures\" autocomplete=\"off\">\n"
            "<p class=\"NoMatch\" hidden>No module or procedure matches.</p>\n";
    AppendContents(projects, html);
    AppendLeftOut(leftOut.paths, {}, "path", html);
    AppendLeftOut(leftOut.pages, leftOut.siteFolder, "page", html);
    for (std::size_t p = 0; p < projects.size(); ++p) {
        const SiteProject& project = projects[p];
        std::size_t procedures = 0;
        for (const SiteModule& module : project.modules)
            procedures += ProcedureCount(module);
        html += "<section class=\"Project\" id=\"" + ProjectId(p) + "\">\n";
        if (projects.size() > 1) // else the page's heading names it
            html += "<h2>" + EscapeName(project.name) + "</h2>\n";
        html += "<p class=\"Counts\">" + Counted(project.modules.size(), "module") + ", " +
                Counted(procedures, "procedure") + "</p>\n";
        AppendExcluded(project.excluded, html);
        AppendLeftOut(project.leftOut, project.path, "module file", html);
        html += "<ul class=\"Modules\">\n";
        std::size_t folders = 0;
        for (std::size_t m = 0; m < project.modules.size(); ++m) {
            if (m > 0 && m % kModulesPerList == 0)
                html += "</ul>\n<ul class=\"Modules\">\n";
            const bool folderStarts = m == 0 || project.modules[m - 1].folder != project.modules[m].folder;
            AppendModule(project.modules[m], folderStarts ? FolderId(p, folders++) : std::string(), html);
        }
        html += "</ul>\n</section>\n";
    }
    html += kFilterScript;
    html += "</body>\n</html>\n";
    return html;
}

} // namespace quillmark::cli
