#include "cli/OutputFormats.h"

#include "cli/HtmlPage.h"
#include "cli/LineMarks.h"
#include "conversion/AnsiWriter.h"
#include "conversion/Converter.h"
#include "conversion/FragmentWriter.h"
#include "conversion/InlineStyleWriter.h"

#include <algorithm>
#include <cstdlib>

namespace quillmark::cli {
namespace {

LineMarking MarkingOf(const Options& options)
{
    return {options.lineNumbers, options.highlighted};
}

Links LinksOf(const Options& options)
{
    return options.links ? Links::With : Links::Without;
}

std::int32_t ExpectedLines(const FormatRequest& request)
{
    return std::min(request.range.LastLine, request.view.lines.Count()) - request.range.FirstLine + 1;
}

// A numbered fragment stands in an element that starts the style sheet's count at its first line.
std::string NumberedOpen(const FormatRequest& request)
{
    std::string html = "<div class=\"Numbered\"";
    if (request.range.FirstLine != 1)
        html += " style=\"counter-reset: line " + std::to_string(request.range.FirstLine - 1) + "\"";
    return html + ">";
}

// The fragment of classes, its lines marked when asked for, and numbered ones in their element
// unless a page holds them; end is written after it, in the same buffer: a large fragment is
// never copied.
std::string ClassFragment(const FormatRequest& request, LineBreaks breaks, bool inPage, std::string_view end = {})
{
    const LineMarking marking = MarkingOf(request.options);
    const std::string_view lineBreak = breaks == LineBreaks::CrLf ? "\r\n" : "\n";
    const bool wrapped = marking.numbered && !inPage;
    OutputBuffer out;
    if (wrapped) {
        out.Append(NumberedOpen(request));
        out.Append(lineBreak);
    }
    FragmentWriter writer(out, ExpectedLines(request), breaks);
    const LineMarks marks(marking.numbered, request.view.index, &marking);
    MarkedLines marked(writer, out, marks);
    TokenSink& sink = marking.Any() ? static_cast<TokenSink&>(marked) : writer;
    ConvertRange(request.view, request.keywords, request.entry, request.range.FirstLine, request.range.LastLine, sink,
                 LinksOf(request.options));
    if (wrapped) {
        out.Append(lineBreak);
        out.Append("</div>");
    }
    out.Append(end);
    return out.Take();
}

std::string WriteHtml(const FormatRequest& request)
{
    const Options& options = request.options;
    std::string fragment = ClassFragment(request, LineBreaks::CrLf, options.page);
    if (!options.page)
        return fragment;
    return HtmlPage(request.title, options.theme, fragment,
                    options.lineNumbers ? std::optional(request.range.FirstLine) : std::nullopt,
                    !options.highlighted.empty());
}

// Markdown files end their lines with LF alone, the last one too.
std::string WriteMarkdown(const FormatRequest& request)
{
    return ClassFragment(request, LineBreaks::Markdown, false, "\n");
}

std::string WriteInline(const FormatRequest& request)
{
    const Options& options = request.options;
    const LineMarking marking = MarkingOf(options);
    OutputBuffer out;
    InlineStyleWriter writer(out, options.theme, marking, ExpectedLines(request));
    ConvertRange(request.view, request.keywords, request.entry, request.range.FirstLine, request.range.LastLine, writer,
                 LinksOf(options));
    return options.page ? InlineStyledPage(request.title, out.Take(), options.theme) : out.Take();
}

std::string WriteAnsi(const FormatRequest& request)
{
    const Options& options = request.options;
    const LineMarking marking = MarkingOf(options);
    const ColourDepth depth =
        options.colours.empty()
            ? ColourDepthOfTerminal(std::getenv("NO_COLOR"), std::getenv("COLORTERM"), std::getenv("TERM"))
            : *ColourDepthNamed(options.colours);
    // Terminals are mostly dark.
    const ThemeName theme = options.themeGiven ? options.theme : ThemeName::Dark;
    OutputBuffer out;
    AnsiWriter writer(out, theme, depth, marking, std::min(request.range.LastLine, request.view.lines.Count()),
                      ExpectedLines(request));
    ConvertRange(request.view, request.keywords, request.entry, request.range.FirstLine, request.range.LastLine,
                 writer);
    return out.Take();
}

constexpr unsigned kMarks = TakesLineNumbers | TakesHighlightLines;

constexpr OutputFormat kFormats[] = {
    {"html", "the fragment of classes (default), styled by quillmark css", TakesLinks | TakesPage | kMarks, &WriteHtml},
    {"inline",
     "the fragment with the theme's looks in style attributes, for e-mail, word processors and blog "
     "editors that drop style sheets (--inline-styles)",
     TakesLinks | TakesPage | TakesTheme | kMarks, &WriteInline},
    {"markdown", "the fragment of classes as one HTML block of a Markdown post: no blank line inside",
     TakesLinks | kMarks, &WriteMarkdown},
    {"ansi", "the code for a terminal in ANSI colours, in --theme dark unless another is given (less -R shows them)",
     TakesTheme | TakesColours | kMarks, &WriteAnsi},
};

} // namespace

std::span<const OutputFormat> OutputFormats()
{
    return kFormats;
}

const OutputFormat* FormatOf(const Options& options)
{
    const std::string_view name = !options.format.empty() ? std::string_view(options.format)
                                  : options.inlineStyles  ? "inline"
                                                          : "html";
    for (const OutputFormat& format : kFormats)
        if (format.name == name)
            return &format;
    return nullptr;
}

std::string FormatNames()
{
    std::string names;
    for (const OutputFormat& format : kFormats)
        names += (names.empty() ? "" : "|") + std::string(format.name);
    return names;
}

} // namespace quillmark::cli
