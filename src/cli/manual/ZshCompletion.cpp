#include "cli/manual/ZshCompletion.h"

#include "cli/manual/ShellQuoted.h"

#include <algorithm>

namespace quillmark::cli {

namespace {

std::string OneLine(std::string_view text)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// Text inside an _arguments word, or a name of _describe: one line, its brackets and colons
// escaped.
std::string BracketText(std::string_view text)
{
    std::string out;
    for (const char c : OneLine(text)) {
        if (c == '\\' || c == '[' || c == ']' || c == ':')
            out += '\\';
        out += c;
    }
    return out;
}

// "message:action" for the option's value.
std::string ValueForm(const OptionEntry& option)
{
    std::string action;
    switch (option.kind) {
    case ValueKind::Choice:
        action = "(";
        for (const std::string& choice : option.choices)
            action += (action.size() > 1 ? " " : "") + BracketText(choice);
        action += ")";
        break;
    case ValueKind::File: action = "_files"; break;
    case ValueKind::Folder: action = "_files -/"; break;
    case ValueKind::Project: {
        std::string extensions;
        for (const std::string& extension : ProjectExtensions())
            extensions += (extensions.empty() ? "" : "|") + extension.substr(1);
        action = "_files -g \"*.(#i)(" + extensions + ")(-.)\"";
        break;
    }
    case ValueKind::None:
    case ValueKind::Text: break;
    }
    return BracketText(option.value) + ":" + action;
}

// One word of _arguments, as words of the script: '(-o --output)'{-o+,--output=}'[...]:FILE:_files'.
std::string OptionWords(const OptionEntry& option)
{
    if (option.names.empty())
        return ShellQuoted((option.repeatable ? "*:" : option.required ? ":" : "::") + ValueForm(option));
    const bool help = std::find(option.names.begin(), option.names.end(), "--help") != option.names.end();
    std::string exclusion;
    if (help)
        exclusion = "(- *)";
    else if (option.names.size() > 1 && !option.repeatable) {
        for (const std::string& name : option.names)
            exclusion += (exclusion.empty() ? "(" : " ") + name;
        exclusion += ")";
    }
    std::vector<std::string> names;
    for (const std::string& name : option.names) {
        // A value in the next word, or after "=" (a long option) or straight after a short one.
        const char* joined = option.kind == ValueKind::None ? "" : name.starts_with("--") ? "=" : "+";
        names.push_back(name + joined);
    }
    std::string word = "[" + BracketText(option.description) + "]";
    if (option.kind != ValueKind::None)
        word += ":" + ValueForm(option);
    const std::string prefix = exclusion + (option.repeatable ? "*" : "");
    std::string text = prefix.empty() ? std::string() : ShellQuoted(prefix);
    if (names.size() == 1) {
        text += names.front();
    } else {
        text += "{";
        for (std::size_t i = 0; i < names.size(); ++i)
            text += (i == 0 ? "" : ",") + names[i];
        text += "}";
    }
    return text + ShellQuoted(word);
}

void WriteArguments(std::ostream& out, const CommandEntry& command, const char* indent,
                    const std::vector<std::string>& extra)
{
    out << indent << "_arguments -S -C";
    for (const OptionEntry& option : command.options)
        out << " \\\n" << indent << "  " << OptionWords(option);
    for (const std::string& word : extra)
        out << " \\\n" << indent << "  " << word;
    out << " && ret=0\n";
}

} // namespace

void WriteZshCompletion(std::ostream& out, const std::vector<CommandEntry>& table)
{
    out << "#compdef quillmark\n"
           "# zsh completion for quillmark, made from its own command line (the table that --help shows)\n\n"
           "_quillmark() {\n"
           "  local curcontext=$curcontext state state_descr line ret=1\n"
           "  typeset -A opt_args\n";
    WriteArguments(out, table.front(), "  ", {"': :->command'", "'*:: :->argument'"});
    out << "  case $state in\n"
           "    command)\n"
           "      local -a commands=(\n";
    for (auto command = table.begin() + 1; command != table.end(); ++command)
        out << "        " << ShellQuoted(BracketText(command->name) + ":" + OneLine(command->description)) << '\n';
    out << "      )\n"
           "      _describe -t commands 'quillmark command' commands && ret=0\n"
           "      ;;\n"
           "    argument)\n"
           "      curcontext=${curcontext%:*:*}:quillmark-$words[1]:\n"
           "      case $words[1] in\n";
    for (auto command = table.begin() + 1; command != table.end(); ++command) {
        out << "        " << command->name << ")\n";
        WriteArguments(out, *command, "          ", {});
        out << "          ;;\n";
    }
    out << "      esac\n"
           "      ;;\n"
           "  esac\n"
           "  return ret\n"
           "}\n\n"
           "_quillmark \"$@\"\n";
}

} // namespace quillmark::cli
