#include "cli/manual/ManPage.h"

#include "cli/Commands.h"

#include <algorithm>

namespace quillmark::cli {

namespace {

// text as roff sets it: backslashes and minus signs escaped, no line taken for a request, line
// breaks kept (a list of formats, one a line).
std::string Roff(std::string_view text)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        lineStart = c == '\n';
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else if (c == '\n')
            out += "\n.br\n";
        else
            out += c;
    }
    return out;
}

std::string Bold(std::string_view text)
{
    return "\\fB" + Roff(text) + "\\fR";
}

std::string Italic(std::string_view text)
{
    return "\\fI" + Roff(text) + "\\fR";
}

bool IsHelp(const OptionEntry& option)
{
    return std::find(option.names.begin(), option.names.end(), "--help") != option.names.end();
}

// The option's value: its choices spelled out, else its name.
std::string ValueText(const OptionEntry& option)
{
    if (option.choices.empty())
        return Italic(option.value);
    std::string text;
    for (const std::string& choice : option.choices)
        text += (text.empty() ? "" : "|") + Bold(choice);
    return text;
}

// "[-o FILE]", "-o DIR", "[--exclude GLOB]...", "PATH...".
std::string SynopsisText(const OptionEntry& option)
{
    std::string text;
    if (option.names.empty())
        text = Italic(option.value);
    else
        text = Bold(option.names.front()) + (option.value.empty() ? "" : " " + ValueText(option));
    if (!option.required)
        text = "[" + text + "]";
    return option.repeatable ? text + "..." : text;
}

// "-o, --output FILE" as the option's heading in its list.
std::string HeadingText(const OptionEntry& option)
{
    if (option.names.empty())
        return Italic(option.value) + (option.repeatable ? "..." : "");
    std::string text;
    for (const std::string& name : option.names)
        text += (text.empty() ? "" : ", ") + Bold(name);
    return option.value.empty() ? text : text + " " + ValueText(option);
}

void WriteSynopsis(std::ostream& out, const CommandEntry& command)
{
    out << ".SY \"quillmark" << (command.name.empty() ? "" : " " + Roff(command.name)) << "\"\n";
    for (const OptionEntry& option : command.options)
        if (!IsHelp(option))
            out << SynopsisText(option) << '\n';
    out << ".YS\n";
}

void WriteOptions(std::ostream& out, const CommandEntry& command)
{
    for (const OptionEntry& option : command.options)
        out << ".TP\n" << HeadingText(option) << '\n' << Roff(option.description) << '\n';
}

} // namespace

void WriteManPage(std::ostream& out, const std::vector<CommandEntry>& table, std::string_view version)
{
    const CommandEntry& program = table.front();
    out << ".\\\" -*- coding: UTF-8 -*-\n"
        << ".\\\" Made from quillmark's own command line, the table that --help shows.\n"
        << ".TH QUILLMARK 1 \"\" \"Quillmark " << Roff(version) << "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << "quillmark \\- turn the source code of VBA projects into HTML\n"
        << ".SH SYNOPSIS\n";
    for (const CommandEntry& command : table)
        WriteSynopsis(out, command);
    // Left-aligned and unhyphenated from here, as option names and paths should be (the end of
    // the synopsis sets both back).
    out << ".nh\n.ad l\n"
        << ".SH DESCRIPTION\n"
        << Roff(program.description) << '\n'
        << ".PP\n"
        << "The commands that need the window toolkit run in \\fBquillmark\\-desktop\\fR, which the "
           "package of that name installs; without it they say so and fail.\n"
        << ".SH OPTIONS\n";
    WriteOptions(out, program);
    out << ".SH COMMANDS\n";
    for (auto command = table.begin() + 1; command != table.end(); ++command) {
        out << ".SS " << Roff(command->name) << '\n' << Roff(command->description) << '\n';
        WriteOptions(out, *command);
    }
    out << ".SH \"EXIT STATUS\"\n"
        << ".TP\n.B " << kDone << "\nDone.\n"
        << ".TP\n.B " << kFailed << "\nReading, converting or writing the output failed.\n"
        << ".TP\n.B " << kUsage << "\nBad usage: an unknown command or option, a missing or bad value.\n";
}

} // namespace quillmark::cli
