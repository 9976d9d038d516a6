// The line scanner and every writer over any module file: each writer converts the same range
// of the same module, and its output must show the code's text, all of it, and nothing else.
// The first byte picks the entry, the links, the theme, the line numbers, whether the code
// goes through the undecorated path (as a page of code that cannot be converted) and whether a
// site page is written a piece at a time.
#include "FuzzChecks.h"
#include "cli/LineMarks.h"
#include "cli/site/CodeLinker.h"
#include "cli/site/ProjectProcedures.h"
#include "codemodel/EntryRange.h"
#include "conversion/AnsiWriter.h"
#include "conversion/Converter.h"
#include "conversion/FragmentWriter.h"
#include "conversion/InlineStyleWriter.h"
#include "conversion/Keywords.h"
#include "conversion/LinkLists.h"
#include "sources/MemorySource.h"
#include "sources/ModuleFile.h"
#include "sources/TextDecoding.h"

#include <string>

using namespace quillmark;
using fuzz::Expect;

namespace {

// One conversion, handed to each writer in turn.
struct Conversion {
    const ModuleView& view;
    const KeywordTable* keywords;
    Entry entry;
    LineRange range;
    std::uint8_t options;

    bool Links() const { return options & 0x04; }
    ThemeName Theme() const { return static_cast<ThemeName>((options >> 3 & 3) % 3); }
    bool Numbered() const { return options & 0x20; }
    bool Undecorated() const { return options & 0x40; }
    bool Spills() const { return options & 0x80; }

    void Run(TokenSink& writer) const
    {
        if (Undecorated())
            PlainRange(view, entry, range.FirstLine, range.LastLine, writer);
        else
            ConvertRange(view, keywords, entry, range.FirstLine, range.LastLine, writer,
                         Links() ? Links::With : Links::Without);
    }
};

// The project a site would make of the module: itself, and a twin in a folder that its
// qualified names may link to.
struct Site {
    cli::SiteProject project;
    std::unique_ptr<cli::ProjectProcedures> procedures;

    explicit Site(const MemoryCodeModule& module)
    {
        project.name = "Fuzzed.xlsm";
        for (const char* name : {"Module1", "Module2"}) {
            cli::SiteModule& twin = project.modules.emplace_back();
            twin.name = name;
            twin.type = 1;
            twin.lineCount = module.Text().Count();
            twin.page = twin.name == "Module1" ? "Module1.html" : "folder/Module2.html";
            const cli::LineMarks marks(false, module.Procedures().Blocks());
            for (const ProcRecord& block : module.Procedures().Blocks()) {
                const ProcedureStatement statement = FindProcedureStatement(module.Text(), block);
                twin.procedures.push_back(
                    {block, statement.isPrivate, marks.IsTaken(statement.line) ? 0 : statement.line, {}});
            }
        }
        procedures = std::make_unique<cli::ProjectProcedures>(project);
    }
};

std::string Fragment(const Conversion& c)
{
    OutputBuffer out;
    FragmentWriter writer(out, c.range.LastLine - c.range.FirstLine + 1);
    c.Run(writer);
    return out.Take();
}

std::string InlineStyles(const Conversion& c)
{
    OutputBuffer out;
    InlineStyleWriter writer(out, c.Theme());
    c.Run(writer);
    return out.Take();
}

std::string Markdown(const Conversion& c)
{
    OutputBuffer out;
    FragmentWriter writer(out, c.range.LastLine - c.range.FirstLine + 1, LineBreaks::Markdown);
    c.Run(writer);
    return out.Take();
}

std::string Terminal(const Conversion& c)
{
    OutputBuffer out;
    const LineMarking marking;
    AnsiWriter writer(out, c.Theme(), ColourDepth::TrueColour, marking, c.range.LastLine);
    c.Run(writer);
    return out.Take();
}

std::string MarkedFragment(const Conversion& c)
{
    OutputBuffer out;
    FragmentWriter writer(out, c.range.LastLine - c.range.FirstLine + 1);
    const cli::LineMarks marks(c.Numbered(), c.view.index);
    cli::MarkedLines marked(writer, out, marks);
    c.Run(marked);
    return out.Take();
}

std::string SiteLinks(const Conversion& c, const Site& site)
{
    std::string page;
    std::string out;
    const cli::LineMarks marks(c.Numbered(), c.view.index);
    cli::CodeLinker::Spill spill;
    if (c.Spills())
        spill = [&page](std::string& linked) {
            page += linked;
            linked.clear();
        };
    cli::CodeLinker::Links links;
    if (!c.Undecorated())
        links = [&site](const cli::NameUse& use) { return cli::LinkOf(*site.procedures, site.project, 0, use); };
    cli::CodeLinker linker(links, marks, out, spill);
    c.Run(linker);
    return page + out;
}

// What a browser shows of html as text: the tags dropped, the entities decoded, and CR LF as LF.
// Broken when html holds a lone "<", ">" or "&", which only code text escaped badly would leave.
std::optional<std::string> ShownText(std::string_view html)
{
    std::string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos ||
                html.substr(i + 1, close - i - 1).find('<') != std::string_view::npos)
                return std::nullopt;
            i = close;
        } else if (c == '&') {
            bool known = false;
            for (const auto& [entity, character] :
                 {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#10;", '\n'}})
                if (html.substr(i).starts_with(entity)) {
                    text += character;
                    i += std::string_view(entity).size() - 1;
                    known = true;
                    break;
                }
            if (!known)
                return std::nullopt;
        } else if (c == '>') {
            return std::nullopt;
        } else if (c != '\r' || i + 1 == html.size() || html[i + 1] != '\n') {
            text += c;
        }
    }
    return text;
}

// What a terminal shows of output: its escape sequences (CSI, ended by "m") taken out, and the
// final LF. Broken when the code brought an escape of its own.
std::optional<std::string> TerminalText(std::string_view output)
{
    std::string text;
    for (std::size_t i = 0; i < output.size(); ++i) {
        if (output.compare(i, 2, "\x1b[") == 0) {
            const std::size_t end = output.find('m', i);
            if (end == std::string_view::npos)
                return std::nullopt;
            i = end;
        } else if (output[i] == '\x1b') {
            return std::nullopt;
        } else {
            text += output[i];
        }
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// Every writer; a new one is one more line: what it writes, what a reader of that sees as
// text (nothing when it is malformed), and whether it shows the link list.
struct Writer {
    const char* name;
    std::string (*convert)(const Conversion&, const Site&);
    std::optional<std::string> (*shown)(std::string_view output);
    bool listsLinks;
};
constexpr Writer Writers[] = {
    {"fragment", [](const Conversion& c, const Site&) { return Fragment(c); }, ShownText, true},
    {"inline styles", [](const Conversion& c, const Site&) { return InlineStyles(c); }, ShownText, true},
    {"line marks", [](const Conversion& c, const Site&) { return MarkedFragment(c); }, ShownText, true},
    {"site links", SiteLinks, ShownText, false},
    {"markdown", [](const Conversion& c, const Site&) { return Markdown(c); }, ShownText, true},
    {"terminal", [](const Conversion& c, const Site&) { return Terminal(c); }, TerminalText, false},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const auto [options, data] = fuzz::Split(bytes, size);
    std::string text;
    try {
        text = DecodeModuleFile(data);
    } catch (const RuntimeError&) {
        return 0;
    }
    const MemoryCodeModule module("Module1", ParseModuleFile(std::move(text), "Module1", ".bas").TakeText());
    const ProcedureIndex index = IndexOf(module.Procedures().Blocks());
    const std::int32_t lineCount = std::max(module.Text().Count(), 1);
    const ModuleView view{"Module1", module.Text(), index, lineCount};

    Entry entry;
    if ((options & 3) == 1)
        entry.kind = Entry::Kind::Declarations;
    else if ((options & 3) >= 2 && !module.Procedures().Blocks().empty())
        entry = Entry::Procedure(index[static_cast<std::size_t>(options >> 2) % index.size()].ProcName);
    const auto keywords = MakeKeywordTable();
    const Conversion conversion{view, keywords.get(), entry, EntryLines(entry, index, lineCount), options};
    const Site site(module);

    // The code as shown: a line of spaces alone is an empty line unless undecorated.
    std::string code;
    for (std::int32_t line = conversion.range.FirstLine; line <= conversion.range.LastLine; ++line) {
        const std::string_view text = module.Text().Line(line);
        if (conversion.Undecorated() || text.find_first_not_of(' ') != std::string_view::npos)
            code += text;
        code += line < conversion.range.LastLine ? "\n" : "";
    }

    std::optional<bool> converted; // by the writers before
    for (const Writer& writer : Writers) {
        std::string output;
        bool failed = false;
        try {
            output = writer.convert(conversion, site);
        } catch (const RuntimeError&) {
            failed = true; // code the scanner refuses, such as a string without its closing quote
        }
        Expect(!failed || !conversion.Undecorated(), "undecorated code never fails");
        Expect(converted.value_or(!failed) == !failed, "the scanner, not the writer, decides whether code converts");
        converted = !failed;
        if (failed)
            continue;
        const auto expect = [&](bool holds, const char* promise) {
            if (!holds)
                std::fprintf(stderr, "%s writer, code:\n%s\noutput:\n%s\n", writer.name, code.c_str(), output.c_str());
            Expect(holds, promise);
        };
        expect(fuzz::IsUtf8(output), "the output is UTF-8");
        if (conversion.Links() && writer.listsLinks)
            continue;
        const std::optional<std::string> shown = writer.shown(output);
        expect(shown.has_value(), "the code's text cannot break the output's markup");
        expect(*shown == code, "the output shows the code's text, all of it and nothing else");
    }

    // convert's own fragment, its link list made as text, is the fragment writer's.
    if (converted.value_or(false) && !conversion.Undecorated()) {
        LinkListMaker links;
        if (conversion.Links())
            links = [&] { return LinkList(view.name, index, entry); };
        const std::string html =
            ConvertRange(view, keywords.get(), entry, conversion.range.FirstLine, conversion.range.LastLine, links);
        Expect(html == Fragment(conversion), "both ways to the fragment agree");
    }
    return 0;
}
